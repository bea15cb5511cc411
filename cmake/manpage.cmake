# Writes the manual page: the template with the section of commands that the program makes
# from its own command definitions ("korvesta help --manual").
# Variables: PROGRAM, TEMPLATE, OUTPUT.
execute_process(COMMAND ${PROGRAM} help --manual
                OUTPUT_VARIABLE commands RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "korvesta help --manual failed: ${result}")
endif()
file(READ ${TEMPLATE} page)
string(REPLACE "@COMMANDS@\n" "${commands}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
