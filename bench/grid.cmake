# The grid: filling, subtotals and painting at the sizes of the largest views.
add_executable(bench_grid ${CMAKE_CURRENT_SOURCE_DIR}/bench_grid.cpp)
target_link_libraries(bench_grid PRIVATE korvesta_gui benchmark::benchmark)
