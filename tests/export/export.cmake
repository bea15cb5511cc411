# The spreadsheet export, its files read back through libzip.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
korvesta_test(tests_export
    ${CMAKE_CURRENT_SOURCE_DIR}/export/export_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/export/pagebreaks_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/export/xlsxreader.cpp
)
target_link_libraries(tests_export PRIVATE PkgConfig::LIBZIP)
