# Opening a group's timetable cell and placing a lesson, on the large sample document.
add_executable(bench_placement ${CMAKE_CURRENT_SOURCE_DIR}/bench_placement.cpp)
target_link_libraries(bench_placement PRIVATE korvesta_benchsupport benchmark::benchmark)
