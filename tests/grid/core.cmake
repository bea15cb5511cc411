# The grid's model and helpers, without a window.
korvesta_test(tests_grid
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridhelpers_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridmodel_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridoutline_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridtextfit_test.cpp
)
