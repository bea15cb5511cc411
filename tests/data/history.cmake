# The document's history of changes (undo and redo), over the sample institution.
korvesta_test(tests_history
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/history_test.cpp
)

# "Отменить" and "Повторить" in the window (offscreen).
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(tests_historycommands
    ${CMAKE_CURRENT_SOURCE_DIR}/app/apptestmain.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/historycommands_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
)
target_link_libraries(tests_historycommands PRIVATE korvesta_testsupport korvesta_gui Qt6::Test
                                                    GTest::gtest)
gtest_discover_tests(tests_historycommands DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
