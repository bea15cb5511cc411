# A tutor's timetable for a term made and written as a document, on the large sample.
add_executable(bench_reports ${CMAKE_CURRENT_SOURCE_DIR}/bench_reports.cpp)
target_link_libraries(bench_reports PRIVATE korvesta_benchsupport benchmark::benchmark)
