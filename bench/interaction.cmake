# Saving a new group from the entry area and refilling the list, on the large sample document.
add_executable(bench_interaction ${CMAKE_CURRENT_SOURCE_DIR}/bench_interaction.cpp)
target_link_libraries(bench_interaction PRIVATE korvesta_benchsupport benchmark::benchmark)
