# Navigation rules (headless) and the main window (offscreen).
korvesta_test(tests_navigation
    ${CMAKE_CURRENT_SOURCE_DIR}/app/navigation_test.cpp
)

find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(tests_mainwindow
    ${CMAKE_CURRENT_SOURCE_DIR}/app/apptestmain.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/compilewindow_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/deletetimetable_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/exportcommand_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/copyshedule_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/coverwindow_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/mainwindow_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/note_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/options_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/publishcommand_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/reportwindow_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/selectjob_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/slotassistant_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/windowviews_test.cpp
)
target_link_libraries(tests_mainwindow PRIVATE korvesta_testsupport korvesta_gui Qt6::Test
                                               GTest::gtest)
gtest_discover_tests(tests_mainwindow DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# Tools: a picture of the window, and the time from start to the first paint.
add_executable(korvesta_screenshot ${CMAKE_CURRENT_SOURCE_DIR}/app/screenshot.cpp)
target_link_libraries(korvesta_screenshot PRIVATE korvesta_gui)
add_executable(korvesta_startprobe ${CMAKE_CURRENT_SOURCE_DIR}/app/startprobe.cpp)
target_link_libraries(korvesta_startprobe PRIVATE korvesta_gui)
