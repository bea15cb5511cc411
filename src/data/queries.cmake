# The query layer: saved-query routines, key lookups and the calendar helpers.
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/data/calendar.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/queries.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/studyperiod.cpp
)
