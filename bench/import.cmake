# Import of a 10 000-line teaching load from a CSV file.
add_executable(bench_import ${CMAKE_CURRENT_SOURCE_DIR}/bench_import.cpp)
target_link_libraries(bench_import PRIVATE korvesta_core benchmark::benchmark)
