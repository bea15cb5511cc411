# The query layer: every saved query and routine against counts taken from the tables.
korvesta_test(tests_queries
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/queries_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/savedqueries_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/calendar_test.cpp
)
