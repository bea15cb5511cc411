# The timetable check against documents with each kind of problem planted.
korvesta_test(tests_check
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/check/timetablecheck_test.cpp
)
