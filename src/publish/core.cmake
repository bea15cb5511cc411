# Publishing the timetable: iCalendar files and a static web timetable (no widgets).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/publish/icalfeed.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/publish/lessonwords.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/publish/previousfeed.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/publish/publisher.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/publish/publishfolder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/publish/publishrecord.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/publish/publishmodel.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/publish/safefilenames.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/publish/webtimetable.cpp
)
find_package(Threads REQUIRED)
target_link_libraries(korvesta_core PRIVATE Threads::Threads)
