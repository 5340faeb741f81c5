# Builds the Windows Installer package, run by the installer target as
#   cmake -DSETTINGS=<file> -P MakePackage.cmake
# The settings file sets WIXL, WIXL_HEAT, SOURCE (Product.wxs), WORK (a
# folder of its own in the build tree), OUTPUT (the package), PAYLOAD (the
# files and folders to install), ICON, PRODUCT_NAME, COMPANY_NAME, WEBSITE,
# VERSION (major.minor.patch), UPGRADE_CODE and PROGRAM_FILE.
#
# The payload is copied into a fresh folder, so that the package holds
# exactly the files named and nothing a former build left; wixl-heat lists
# that folder for WiX and wixl builds the package beside its final name, to
# which it is renamed once complete.
include("${SETTINGS}")

set(_payload "${WORK}/payload")
file(REMOVE_RECURSE "${_payload}")
file(MAKE_DIRECTORY "${_payload}")
foreach(_item IN LISTS PAYLOAD)
  if(NOT EXISTS "${_item}")
    message(FATAL_ERROR "The package cannot be made: ${_item} is missing")
  endif()
  file(COPY "${_item}" DESTINATION "${_payload}")
endforeach()
# wixl reads sources relative to its working folder only.
file(COPY_FILE "${ICON}" "${WORK}/ProductIcon.ico")

file(GLOB_RECURSE _files RELATIVE "${WORK}" "${_payload}/*")
list(SORT _files)
list(JOIN _files "\n" _listing)
file(WRITE "${WORK}/payload.txt" "${_listing}\n")
execute_process(COMMAND "${WIXL_HEAT}" --win64 --prefix payload/ --directory-ref INSTALLDIR
                        --component-group Payload --var var.Payload
                INPUT_FILE "${WORK}/payload.txt" OUTPUT_FILE "${WORK}/Payload.wxs"
                ERROR_VARIABLE _out RESULT_VARIABLE _result WORKING_DIRECTORY "${WORK}")
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "wixl-heat could not list the package's files:\n${_out}")
endif()

# The installed-programs list shows the website as a link.
set(_url "${WEBSITE}")
if(NOT _url MATCHES "^[Hh][Tt][Tt][Pp][Ss]?://")
  set(_url "http://${_url}")
endif()
# wixl puts a value into the parsed attribute as it stands: no escaping.
set(_defines "--define=Win64=yes" "--define=Payload=payload" "--define=Icon=ProductIcon.ico"
             "--define=ProductName=${PRODUCT_NAME}" "--define=CompanyName=${COMPANY_NAME}"
             "--define=Website=${WEBSITE}" "--define=WebsiteUrl=${_url}" "--define=Version=${VERSION}"
             "--define=UpgradeCode=${UPGRADE_CODE}" "--define=ProgramFile=${PROGRAM_FILE}")

file(REMOVE "${OUTPUT}.part")
execute_process(COMMAND "${WIXL}" --arch x64 ${_defines} --output "${OUTPUT}.part" "${SOURCE}" Payload.wxs
                OUTPUT_VARIABLE _out ERROR_VARIABLE _out RESULT_VARIABLE _result WORKING_DIRECTORY "${WORK}")
# wixl leaves out what it does not know with only a warning; a package
# without it would install something else than the source says.
if(NOT _result EQUAL 0 OR _out MATCHES "WARNING|CRITICAL|ERROR")
  file(REMOVE "${OUTPUT}.part")
  message(FATAL_ERROR "wixl could not build the package:\n${_out}")
endif()
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
