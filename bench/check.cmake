# The timetable check of the whole year on the large sample document.
add_executable(bench_check ${CMAKE_CURRENT_SOURCE_DIR}/bench_check.cpp)
target_link_libraries(bench_check PRIVATE korvesta_benchsupport benchmark::benchmark)
