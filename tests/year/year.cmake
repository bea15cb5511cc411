# The next academic year's document, and documents that keep older years.
korvesta_test(tests_year ${CMAKE_CURRENT_SOURCE_DIR}/year/nextyear_test.cpp)
