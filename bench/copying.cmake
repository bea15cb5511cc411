# Copying a week, replicating a day over a term, on the large sample document.
add_executable(bench_copying ${CMAKE_CURRENT_SOURCE_DIR}/bench_copying.cpp)
target_link_libraries(bench_copying PRIVATE korvesta_benchsupport benchmark::benchmark)
