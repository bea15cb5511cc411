# The document's history of changes on the large sample document.
add_executable(bench_history ${CMAKE_CURRENT_SOURCE_DIR}/bench_history.cpp)
target_link_libraries(bench_history PRIVATE korvesta_benchsupport benchmark::benchmark)
