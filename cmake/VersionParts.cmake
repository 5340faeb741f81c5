# bastion_version_parts(<version> <prefix>) splits "major.minor[.patch]"
# into <prefix>_MAJOR, <prefix>_MINOR and <prefix>_PATCH (missing parts are
# 0). The version resource and the Windows Installer package take their
# numbers from here; the package's version allows at most 255.255.65535.
function(bastion_version_parts version prefix)
  if(NOT version MATCHES "^([0-9]+)(\\.([0-9]+))?(\\.([0-9]+))?$")
    message(FATAL_ERROR "BASTION_VERSION \"${version}\" is not major.minor or major.minor.patch")
  endif()
  set(_major "${CMAKE_MATCH_1}")
  set(_minor "${CMAKE_MATCH_3}")
  set(_patch "${CMAKE_MATCH_5}")
  if(_minor STREQUAL "")
    set(_minor 0)
  endif()
  if(_patch STREQUAL "")
    set(_patch 0)
  endif()
  if(_major GREATER 255 OR _minor GREATER 255 OR _patch GREATER 65535)
    message(FATAL_ERROR "BASTION_VERSION \"${version}\" is beyond 255.255.65535")
  endif()
  set(${prefix}_MAJOR ${_major} PARENT_SCOPE)
  set(${prefix}_MINOR ${_minor} PARENT_SCOPE)
  set(${prefix}_PATCH ${_patch} PARENT_SCOPE)
endfunction()
