# The document's history of changes (undo and redo), over the sample institution.
korvesta_test(tests_history
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/history_test.cpp
)
