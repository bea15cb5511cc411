# The headless subcommands' front ends: each reads its command line with the one parser and
# calls the core operation.
target_sources(korvesta_cli PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/auditoriumcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/busycommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/checkcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/clearcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/commandline.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/completionscript.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/copycommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/covercommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/exportcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/freecommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/generatecommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/importcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/loadcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/lockcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/manualpage.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/namescommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/servercommands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/newcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/newyearcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/notecommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/optionscommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/placecommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/publishcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/records.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/reportcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/sqlcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/subcommands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/suggestcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/trialreport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/cli/viewcommand.cpp
)
