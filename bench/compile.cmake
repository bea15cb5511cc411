# Compiling weeks automatically on the large and the small sample.
add_executable(bench_compile ${CMAKE_CURRENT_SOURCE_DIR}/bench_compile.cpp)
target_link_libraries(bench_compile PRIVATE korvesta_core benchmark::benchmark)
