# Import of a 10 000-line teaching load and a 5 000-group list from CSV files, and reading a
# book whose sheet unpacks to some 50 MB (written with libxlsxwriter, measured with libzip).
find_package(PkgConfig REQUIRED)
pkg_check_modules(BENCH_XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
pkg_check_modules(BENCH_LIBZIP REQUIRED IMPORTED_TARGET libzip)
add_executable(bench_import ${CMAKE_CURRENT_SOURCE_DIR}/bench_import.cpp)
target_link_libraries(bench_import PRIVATE korvesta_core benchmark::benchmark
    PkgConfig::BENCH_XLSXWRITER PkgConfig::BENCH_LIBZIP)
