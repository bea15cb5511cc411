# The sample institution (`korvesta demo`).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/data/democalendar.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/demodocument.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/demoinstitution.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/demonames.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/data/demotimetable.cpp
)
