# Writing the week timetable and the hours worked of every tutor to .xlsx, on the large sample.
add_executable(bench_export ${CMAKE_CURRENT_SOURCE_DIR}/bench_export.cpp)
target_link_libraries(bench_export PRIVATE korvesta_benchsupport benchmark::benchmark)
