# The grid widget, offscreen; the showcase test leaves grid-showcase.png in the build folder.
find_package(Qt6 REQUIRED COMPONENTS Test)
korvesta_test(tests_gridview
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridshowcase_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridview_test.cpp
)
target_link_libraries(tests_gridview PRIVATE korvesta_gui Qt6::Test)
target_compile_definitions(tests_gridview PRIVATE KORVESTA_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}")
