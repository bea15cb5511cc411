# The headless subcommands' front ends: each reads its command line with the one parser and
# calls the core operation.
target_sources(korvesta_cli PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/checkcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/commandline.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/newyearcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/records.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/sqlcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/suggestcommand.cpp
)
