# Splits the version into its parts for the version resource and writes the
# generated identity header that the portable code may include.
include("${CMAKE_CURRENT_LIST_DIR}/VersionParts.cmake")
bastion_version_parts("${BASTION_VERSION}" BASTION_VERSION)
set(BASTION_GENERATED_DIR "${CMAKE_BINARY_DIR}/generated")
configure_file("${CMAKE_SOURCE_DIR}/cmake/BuildIdentity.h.in" "${BASTION_GENERATED_DIR}/BuildIdentity.h" @ONLY)
