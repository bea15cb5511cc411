# The options dialog's rules and what it writes, against documents built in code.
korvesta_test(tests_options
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/options/optionsrules_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/options/optionssession_test.cpp
)
