# The sample institution.
korvesta_test(tests_demo ${CMAKE_CURRENT_SOURCE_DIR}/sample/demo_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sample/sampleuse_test.cpp)
target_link_libraries(tests_demo PRIVATE korvesta_cli)
