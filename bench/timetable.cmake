# The timetable views with their frames on the large sample document.
add_executable(bench_timetable ${CMAKE_CURRENT_SOURCE_DIR}/bench_timetable.cpp)
target_link_libraries(bench_timetable PRIVATE korvesta_core benchmark::benchmark)
