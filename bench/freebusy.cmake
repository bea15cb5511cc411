# The free and busy objects following the timetable's cell, and the tutor passport for a year,
# on the large sample document.
add_executable(bench_freebusy ${CMAKE_CURRENT_SOURCE_DIR}/bench_freebusy.cpp)
target_link_libraries(bench_freebusy PRIVATE korvesta_benchsupport benchmark::benchmark)
