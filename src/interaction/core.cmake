# Routing of the main grid's events and edit menus to the editing (no widgets).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/interaction/dropdownlists.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/interaction/entryrows.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/interaction/gridrouter.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/interaction/gridrouter_commands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/interaction/gridrouter_entry.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/interaction/gridrouter_timetable.cpp
)
