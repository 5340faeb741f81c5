# Runs chmcmd on PROJECT_FILE and moves the result to OUTPUT. chmcmd reports
# a page it cannot find as a warning and still succeeds; here that fails.
get_filename_component(_folder "${PROJECT_FILE}" DIRECTORY)
execute_process(COMMAND "${CHMCMD}" --html-scan "${PROJECT_FILE}"
                WORKING_DIRECTORY "${_folder}"
                OUTPUT_VARIABLE _out ERROR_VARIABLE _out RESULT_VARIABLE _result)
if(NOT _result EQUAL 0 OR _out MATCHES "Warning|Error|rror:")
  message(FATAL_ERROR "chmcmd could not build the help file:\n${_out}")
endif()
file(RENAME "${_folder}/Help.chm" "${OUTPUT}")
