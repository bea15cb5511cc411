# The views on the file engine and on the server engine side by side, on a throwaway cluster.
add_executable(bench_server ${CMAKE_CURRENT_SOURCE_DIR}/bench_server.cpp
                            ${PROJECT_SOURCE_DIR}/tests/support/pgcluster.cpp)
target_include_directories(bench_server PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(bench_server PRIVATE korvesta_benchsupport benchmark::benchmark)
