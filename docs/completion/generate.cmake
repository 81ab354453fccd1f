# Fills the completion template with the options printed by option_names: the
# names, the names of the options that take a value, and one case arm per
# keyword option that sets the values to offer.
execute_process(COMMAND ${OPTION_NAMES} OUTPUT_VARIABLE all RESULT_VARIABLE rc1)
execute_process(COMMAND ${OPTION_NAMES} valued OUTPUT_VARIABLE valued RESULT_VARIABLE rc2)
execute_process(COMMAND ${OPTION_NAMES} values OUTPUT_VARIABLE values RESULT_VARIABLE rc3)
if(NOT rc1 EQUAL 0 OR NOT rc2 EQUAL 0 OR NOT rc3 EQUAL 0)
  message(FATAL_ERROR "option_names failed")
endif()
string(STRIP "${all}" all)
string(STRIP "${valued}" valued)
string(STRIP "${values}" values)
string(REPLACE "\n" " " TALVO_OPTIONS "${all}")
string(REPLACE "\n" " " TALVO_VALUED_OPTIONS "${valued}")
# "-rnd t r e c f" becomes '        -rnd) values="t r e c f" ;;'
string(REGEX REPLACE "([^ \n]+) ([^\n]+)" "        \\1) values=\"\\2\" ;;" TALVO_VALUE_SETS "${values}")
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
