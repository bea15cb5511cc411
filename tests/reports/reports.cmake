# Printed reports: layouts, data, pages and report documents over documents built in code.
korvesta_test(tests_reports
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/reports/gridreport_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/reports/reports_test.cpp
)
target_include_directories(tests_reports PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/data)
