# The next academic year's document, made from this year's (no widgets).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/year/nextyear.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/year/yearhours.cpp
)
