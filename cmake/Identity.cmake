# Splits the version into its parts for the version resource and writes the
# generated identity header that the portable code may include.
string(REPLACE "." ";" _bastion_version_parts "${BASTION_VERSION}")
list(LENGTH _bastion_version_parts _n)
list(GET _bastion_version_parts 0 BASTION_VERSION_MAJOR)
if(_n GREATER 1)
  list(GET _bastion_version_parts 1 BASTION_VERSION_MINOR)
else()
  set(BASTION_VERSION_MINOR 0)
endif()
set(BASTION_GENERATED_DIR "${CMAKE_BINARY_DIR}/generated")
configure_file("${CMAKE_SOURCE_DIR}/cmake/BuildIdentity.h.in" "${BASTION_GENERATED_DIR}/BuildIdentity.h" @ONLY)
