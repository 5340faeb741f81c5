# bastion_package_identity(<version>) sets, from the build's identity
# (BASTION_PRODUCT_NAME, BASTION_COMPANY_NAME, BASTION_UPGRADE_CODE) and the
# given version:
#   BASTION_PACKAGE_VERSION       major.minor.patch, as Windows Installer compares it
#   BASTION_PACKAGE_UPGRADE_CODE  the same for every version of one product
#   BASTION_PACKAGE_FILE          "<product>-<version>-x64.msi"
include("${CMAKE_CURRENT_LIST_DIR}/../cmake/VersionParts.cmake")

# Upgrade codes derived from the names live in a namespace of their own.
set(_bastion_upgrade_namespace "e19397f2-0e75-4a91-b276-13a69965b5b5")

function(bastion_package_identity version)
  bastion_version_parts("${version}" _version)
  set(_version "${_version_MAJOR}.${_version_MINOR}.${_version_PATCH}")
  string(STRIP "${BASTION_PRODUCT_NAME}" _product)
  string(STRIP "${BASTION_COMPANY_NAME}" _company)
  if(BASTION_UPGRADE_CODE)
    string(TOUPPER "${BASTION_UPGRADE_CODE}" _code)
    string(REGEX REPLACE "^{(.*)}$" "\\1" _code "${_code}")
  else()
    # Stable while the company and product names are: a renamed product is
    # another product, as its settings are.
    string(UUID _code NAMESPACE ${_bastion_upgrade_namespace} NAME "${_company}\\${_product}" TYPE SHA1 UPPER)
  endif()
  set(BASTION_PACKAGE_VERSION "${_version}" PARENT_SCOPE)
  set(BASTION_PACKAGE_UPGRADE_CODE "{${_code}}" PARENT_SCOPE)
  set(BASTION_PACKAGE_FILE "${_product}-${_version}-x64.msi" PARENT_SCOPE)
endfunction()
