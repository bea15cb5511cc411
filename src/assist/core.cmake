# The placement and cover assistants: ranked free slots for a load line, and who can take
# an absent tutor's lessons (no widgets).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/assist/cover.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/assist/coverreport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/assist/groupshift.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/assist/slotmap.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/assist/slotpaint.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/assist/slotsuggestion.cpp
)
