# BASTION_FUZZ: everything is compiled with clang's coverage for libFuzzer
# (-fsanitize=fuzzer-no-link), and the fuzz targets link the fuzzing engine
# (fuzz/CMakeLists.txt). The tests, the benchmarks and the definition server
# are built in the same tree: the "native-asan" preset turns this on together
# with the sanitizers, so that one compile of the core serves both the
# sanitized test suite and the fuzzers.
option(BASTION_FUZZ "Build the fuzz targets as libFuzzer programs (clang)" OFF)
if(BASTION_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "BASTION_FUZZ needs clang (the \"native-asan\" preset)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
