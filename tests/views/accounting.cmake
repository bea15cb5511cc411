# The accounting views: timesheet, hours worked and busy time on documents built in code.
korvesta_test(tests_accounting
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/accounting_test.cpp
)
target_include_directories(tests_accounting PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/data)
