# Every view's fill with its frame on the large sample document.
add_executable(bench_views ${CMAKE_CURRENT_SOURCE_DIR}/bench_views.cpp)
target_link_libraries(bench_views PRIVATE korvesta_benchsupport benchmark::benchmark)
