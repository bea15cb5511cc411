# Free and busy time: the list of free and busy objects beside the timetables, a tutor's
# absences counted over a period, and the tutor passport.
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/views/freebusy/exceptioncount.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/freebusy/freebusyfills.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/freebusy/freebusylist.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/freebusy/tutorpassport.cpp
)
