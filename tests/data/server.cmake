# The server engine, on a PostgreSQL cluster the tests start themselves.
korvesta_test(tests_server
    ${CMAKE_CURRENT_SOURCE_DIR}/support/pgcluster.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/serverdocument_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/serverparity_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/serverplanners_test.cpp
)
target_link_libraries(tests_server PRIVATE korvesta_cli)
