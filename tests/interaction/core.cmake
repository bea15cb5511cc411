# The grid routing, headless against documents built in code, and in the window (offscreen).
korvesta_test(tests_interaction
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/interaction/gridrouter_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/interaction/entryrows_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/interaction/examdate_test.cpp
)

find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(tests_gridinteraction
    ${CMAKE_CURRENT_SOURCE_DIR}/app/apptestmain.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/interaction/gridinteraction_test.cpp
)
target_include_directories(tests_gridinteraction PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/data)
target_link_libraries(tests_gridinteraction PRIVATE korvesta_testsupport korvesta_gui Qt6::Test
                                                    GTest::gtest)
gtest_discover_tests(tests_gridinteraction DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
