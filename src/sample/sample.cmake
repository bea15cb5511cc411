# The sample institution (`korvesta demo`).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/sample/democalendar.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sample/demodocument.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sample/demoinstitution.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sample/demonames.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sample/demotimetable.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sample/olderyears.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/sample/samplenorms.cpp
)
