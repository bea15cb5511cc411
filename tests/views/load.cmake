# The teaching load view and its filter, on documents built in code.
korvesta_test(tests_loadview
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/load_test.cpp
)
target_include_directories(tests_loadview PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/data)
