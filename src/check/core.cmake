# The timetable check: every problem of a period in one list (no widgets).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/check/timetablecheck.cpp
)
