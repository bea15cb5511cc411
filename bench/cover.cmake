# The cover assistant's list and the day's cover report, on the large sample document.
add_executable(bench_cover ${CMAKE_CURRENT_SOURCE_DIR}/bench_cover.cpp)
target_link_libraries(bench_cover PRIVATE korvesta_benchsupport benchmark::benchmark)
