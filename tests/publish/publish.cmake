# Publishing the timetable, the calendars read back with libical's own parser.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBICAL REQUIRED IMPORTED_TARGET libical)
korvesta_test(tests_publish
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/publish/icalreading.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/publish/publish_test.cpp
)
target_link_libraries(tests_publish PRIVATE PkgConfig::LIBICAL)
