# Free and busy objects, absences counted over a period and the tutor passport.
korvesta_test(tests_freebusy
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/freebusy_test.cpp
)
target_include_directories(tests_freebusy PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/data)
