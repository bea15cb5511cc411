# Several planners at once on a throwaway cluster: a soak run, not a timed benchmark.
add_executable(bench_planners ${CMAKE_CURRENT_SOURCE_DIR}/bench_planners.cpp
                              ${PROJECT_SOURCE_DIR}/tests/support/pgcluster.cpp)
target_include_directories(bench_planners PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(bench_planners PRIVATE korvesta_benchsupport)
