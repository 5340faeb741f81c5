add_compile_options(-Wall -Wextra -Wno-unused-parameter)
# GCC 12 reports overlapping copies inside libstdc++'s string concatenation
# once it is inlined into optimised code (-Wrestrict, a known false positive
# of that compiler, GCC bug 105329). Only that compiler is told to keep
# quiet about it; every other warning stays on.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
endif()
# CI builds with this on, so that a new warning in the project's own code
# fails the run instead of scrolling past.
option(BASTION_WARNINGS_AS_ERRORS "Treat every compiler warning in the project's own code as an error" OFF)
if(BASTION_WARNINGS_AS_ERRORS)
  add_compile_options(-Werror)
endif()
if(BASTION_ASAN)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(WIN32)
  # Unicode entry points and the W functions everywhere; static runtime so no
  # mingw DLL has to ship beside the programs.
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
