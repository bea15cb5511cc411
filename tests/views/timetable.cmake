# The timetable views: composer, frames and fills over documents built in code.
korvesta_test(tests_timetable
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/cellcomposer_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/timetable_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/timetablerefresh_test.cpp
)
target_include_directories(tests_timetable PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/data)
