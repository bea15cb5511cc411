# The accounting views' fills with their frames on the large sample document.
add_executable(bench_accounting ${CMAKE_CURRENT_SOURCE_DIR}/bench_accounting.cpp)
target_link_libraries(bench_accounting PRIVATE korvesta_benchsupport benchmark::benchmark)
