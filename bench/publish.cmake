# Publishing the whole year of the large sample document, first and again unchanged.
add_executable(bench_publish ${CMAKE_CURRENT_SOURCE_DIR}/bench_publish.cpp)
target_link_libraries(bench_publish PRIVATE korvesta_benchsupport benchmark::benchmark)
