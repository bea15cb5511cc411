# Every routine and saved query of the query layer on the large sample document.
add_executable(bench_queries ${CMAKE_CURRENT_SOURCE_DIR}/bench_queries.cpp)
target_link_libraries(bench_queries PRIVATE korvesta_benchsupport benchmark::benchmark)
