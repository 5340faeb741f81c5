# The reference definition server (tools/defserver) and the starter
# definitions it makes. Natively it is part of the build and its tests run
# with the others. A Windows build makes it for the host, with the host's
# compiler, as a project of its own: the Wine tests start it, and the
# starter set lands beside the programs.
if(NOT CMAKE_CROSSCOMPILING)
  set(BASTION_DEFSERVER_TESTS ON CACHE BOOL "" FORCE)
  add_subdirectory(tools/defserver)
  return()
endif()

include(ExternalProject)
set(BASTION_DEFSERVER_HOST_DIR "${CMAKE_BINARY_DIR}/defserver-host")
set(BASTION_DEFSERVER_PROGRAM "${BASTION_DEFSERVER_HOST_DIR}/defserver")
set(BASTION_STARTER_DIR "${CMAKE_BINARY_DIR}/src/main/StarterDefinitions")
set(_launcher "")
if(CMAKE_CXX_COMPILER_LAUNCHER)
  set(_launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
                -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER})
endif()
ExternalProject_Add(defserver_host
  SOURCE_DIR "${CMAKE_SOURCE_DIR}/tools/defserver"
  BINARY_DIR "${BASTION_DEFSERVER_HOST_DIR}"
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc
             -DBASTION_STARTER_OUT=${BASTION_STARTER_DIR} ${_launcher}
             -DBASTION_WARNINGS_AS_ERRORS=${BASTION_WARNINGS_AS_ERRORS}
  BUILD_BYPRODUCTS "${BASTION_DEFSERVER_PROGRAM}" "${BASTION_STARTER_DIR}/date.dat"
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)
