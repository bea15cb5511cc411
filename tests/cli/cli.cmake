# The command-line layer of the headless subcommands.
korvesta_test(tests_commandline ${CMAKE_CURRENT_SOURCE_DIR}/cli/commandline_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/checkcommand_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/clearcommand_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/copycommand_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/placecommand_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/sqlcommand_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/suggestcommand_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp)
target_link_libraries(tests_commandline PRIVATE korvesta_cli)
