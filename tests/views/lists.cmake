# The reference list views and the frame builders, on documents built in code.
korvesta_test(tests_reflists
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/reflists_test.cpp
)
target_include_directories(tests_reflists PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/data)

# Documents of another layout through every view.
korvesta_test(tests_hostile
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/hostile_test.cpp
)
target_include_directories(tests_hostile PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/data)
