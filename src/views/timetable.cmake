# The timetable views: the day and week timetables and the tutors' work schedule.
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/views/timetable/auditoriumlabels.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/timetable/cellcomposer.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/timetable/lessonplacer.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/timetable/timetablefills.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/timetable/timetableframes.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/timetable/timetablelayout.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/timetable/timetablelessons.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/timetable/timetablerefresh.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/timetable/tooltipcache.cpp
)
