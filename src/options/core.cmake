# The rules of the options dialog and what it writes (no widgets).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/options/optionsrules.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/options/optionssession.cpp
)
