# Documents of several years, and the next year's document, on the large sample.
add_executable(bench_year ${CMAKE_CURRENT_SOURCE_DIR}/bench_year.cpp)
target_link_libraries(bench_year PRIVATE korvesta_benchsupport benchmark::benchmark)
