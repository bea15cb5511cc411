# The program installed under a prefix with a space in it, as a package would lay it out.
add_test(NAME install_layout
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install/install_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(install_layout PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0")
add_test(NAME commandline
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/install/commandline_test.sh $<TARGET_FILE:korvesta>)
set_tests_properties(commandline PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")

find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(tests_helpwindow ${CMAKE_CURRENT_SOURCE_DIR}/app/apptestmain.cpp
                                ${CMAKE_CURRENT_SOURCE_DIR}/install/helpwindow_test.cpp)
target_link_libraries(tests_helpwindow PRIVATE korvesta_gui Qt6::Test GTest::gtest)
target_compile_definitions(tests_helpwindow PRIVATE
    KORVESTA_HELP_DIR="${PROJECT_SOURCE_DIR}/resources/help")
gtest_discover_tests(tests_helpwindow DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
