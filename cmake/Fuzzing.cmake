# The "fuzz" preset: everything built with clang's coverage for libFuzzer and
# with AddressSanitizer and UndefinedBehaviorSanitizer; the fuzz targets link
# the fuzzing engine (fuzz/CMakeLists.txt), the tests and benchmarks are not
# built.
option(BASTION_FUZZ "Build the libFuzzer targets (clang)" OFF)
if(BASTION_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "BASTION_FUZZ needs clang (the \"fuzz\" preset)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
