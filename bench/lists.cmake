# The reference list views with their frames on the large sample document.
add_executable(bench_lists ${CMAKE_CURRENT_SOURCE_DIR}/bench_lists.cpp)
target_link_libraries(bench_lists PRIVATE korvesta_core benchmark::benchmark)
