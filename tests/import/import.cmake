# Import from .xlsx books written by libxlsxwriter and CSV files made in the tests.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
korvesta_test(tests_import ${CMAKE_CURRENT_SOURCE_DIR}/import/import_test.cpp)
target_link_libraries(tests_import PRIVATE PkgConfig::XLSXWRITER)

# The limits of an import, tried with books whose parts libzip replaces.
pkg_check_modules(LIBZIP_TESTS REQUIRED IMPORTED_TARGET libzip)
korvesta_test(tests_importlimits ${CMAKE_CURRENT_SOURCE_DIR}/import/importlimits_test.cpp)
target_link_libraries(tests_importlimits PRIVATE PkgConfig::XLSXWRITER PkgConfig::LIBZIP_TESTS)
