# The placement assistant: ranked free slots for a load line (no widgets).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/assist/slotsuggestion.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/assist/suggestcommand.cpp
)
