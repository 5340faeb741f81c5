enable_testing()
if(WIN32)
  # GoogleTest built from the sources Debian's googletest package installs.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  foreach(_lib gtest gtest_main gmock gmock_main)
    # Not the project's own code: its warnings never fail the build.
    target_compile_options(${_lib} PRIVATE -Wno-error)
    if(NOT TARGET GTest::${_lib})
      add_library(GTest::${_lib} ALIAS ${_lib})
    endif()
  endforeach()
else()
  find_package(GTest REQUIRED)
  find_package(benchmark QUIET)
endif()

# Every Windows test program is one CTest test: a Wine process start costs
# about half a second, so test cases are not registered one by one.
function(bastion_add_test name)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
endfunction()

if(WIN32)
  set(BASTION_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  configure_file("${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in" "${CMAKE_BINARY_DIR}/wine-run.sh" @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  # One wineserver for the whole run: started before the first test, ended
  # (and waited for) after the last, so ctest leaves no Wine process behind.
  add_test(NAME wine_start COMMAND "${CMAKE_BINARY_DIR}/wine-run.sh" --start-server)
  add_test(NAME wine_stop COMMAND "${CMAKE_BINARY_DIR}/wine-run.sh" --stop-server)
  set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
endif()
