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

# Labels that pick a set of tests (ctest -L / -LE):
#   fast     native unit tests and fuzz replays, seconds in all
#   server   the definition server's tests (SQLite and PostgreSQL)
#   wine     Windows tests of the real facilities under Wine
#   window   the programs' windows under Wine on a virtual display
#   tooling  the test tooling itself (the Wine runner's prefix handling);
#            run when that tooling changes
#
# Under Wine the tests run in lanes: each lane has a Wine prefix, a
# wineserver and a virtual display of its own, so that two lanes run side by
# side (ctest -j2) without sharing a registry, a data folder or a desktop,
# while the tests of one lane run one after the other. Every prefix is a
# copy of one made once by wineboot (the template), which costs seconds
# instead of the minute a wineboot takes.
set(BASTION_WINE_LANES 1 2)

# The environment of a Wine test in a lane: lane 1 uses the build tree's
# prefix (build/win64/wineprefix, as wine-run.sh does by default) and the
# display it is given; every other lane a prefix and a virtual display of its
# own.
function(bastion_wine_lane_environment lane out)
  set(_env "BASTION_WINEPREFIX_TEMPLATE=${CMAKE_BINARY_DIR}/wineprefix-template")
  if(NOT lane EQUAL 1)
    list(APPEND _env "BASTION_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-${lane}" "DISPLAY=")
  endif()
  set(${out} "${_env}" PARENT_SCOPE)
endfunction()

# bastion_wine_test(<test> <label> <lane>): the test runs in that lane's
# prefix, after the lane's wineserver started and alone in the lane.
function(bastion_wine_test test label lane)
  bastion_wine_lane_environment(${lane} _env)
  get_test_property(${test} ENVIRONMENT _own)
  if(_own)
    list(APPEND _env ${_own})
  endif()
  set_tests_properties(${test} PROPERTIES LABELS ${label} FIXTURES_REQUIRED wine_${lane}
      RESOURCE_LOCK wine_lane_${lane} ENVIRONMENT "${_env}")
endfunction()

# Every Windows test program is one CTest test: a Wine process start costs
# about half a second, so test cases are not registered one by one.
# bastion_add_test(<program> [LABEL <label>] [LANE <n>] [ARGS...])
function(bastion_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 _test "" "LABEL;LANE;NAME" "ARGS")
  set(_name ${name})
  if(_test_NAME)
    set(_name ${_test_NAME})
  endif()
  add_test(NAME ${_name} COMMAND ${name} --gtest_color=no ${_test_ARGS})
  if(WIN32)
    if(NOT _test_LABEL)
      set(_test_LABEL wine)
    endif()
    if(NOT _test_LANE)
      set(_test_LANE 1)
    endif()
    bastion_wine_test(${_name} ${_test_LABEL} ${_test_LANE})
  else()
    if(NOT _test_LABEL)
      set(_test_LABEL fast)
    endif()
    set_tests_properties(${_name} PROPERTIES LABELS ${_test_LABEL})
  endif()
endfunction()

if(WIN32)
  set(BASTION_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  configure_file("${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in" "${CMAKE_BINARY_DIR}/wine-run.sh" @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  # One wineserver per lane for the whole run: started before the lane's
  # first test, ended (and waited for) after its last, so ctest leaves no
  # Wine process behind.
  foreach(_lane IN LISTS BASTION_WINE_LANES)
    bastion_wine_lane_environment(${_lane} _env)
    add_test(NAME wine_start_${_lane} COMMAND "${CMAKE_BINARY_DIR}/wine-run.sh" --start-server)
    add_test(NAME wine_stop_${_lane} COMMAND "${CMAKE_BINARY_DIR}/wine-run.sh" --stop-server)
    set_tests_properties(wine_start_${_lane} PROPERTIES FIXTURES_SETUP wine_${_lane} ENVIRONMENT "${_env}"
        RESOURCE_LOCK wine_lane_${_lane})
    set_tests_properties(wine_stop_${_lane} PROPERTIES FIXTURES_CLEANUP wine_${_lane} ENVIRONMENT "${_env}"
        RESOURCE_LOCK wine_lane_${_lane})
  endforeach()
endif()
