# The placement assistant's ranked slots for a load line, on the large sample document.
add_executable(bench_assist ${CMAKE_CURRENT_SOURCE_DIR}/bench_assist.cpp)
target_link_libraries(bench_assist PRIVATE korvesta_benchsupport benchmark::benchmark)
