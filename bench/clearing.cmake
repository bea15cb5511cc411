# Deleting the whole period and one week of timetable on the large sample document.
add_executable(bench_clearing ${CMAKE_CURRENT_SOURCE_DIR}/bench_clearing.cpp)
target_link_libraries(bench_clearing PRIVATE korvesta_benchsupport benchmark::benchmark)
