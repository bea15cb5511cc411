# The teaching load view: its fill with the outline of totals, and the filter of its rows.
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/views/load/loadfill.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/load/loadfilter.cpp
)
