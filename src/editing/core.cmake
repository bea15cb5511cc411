# Editing of the reference lists: groups, auditoriums, disciplines and tutors
# (no widgets).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/auditoriumchange.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/auditoriumsaving.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/commanddocument.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/commandrun.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/commandsettings.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/consoleprompts.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/datelock.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/datenote.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/deletionsteps.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/disciplinesaving.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/entrychecks.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/listednames.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/objectnames.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/examdate.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/groupsaving.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/lessonclashes.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/loadchanges.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/loadeditor.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/placedcell.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/placement.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/tutorday.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/linehours.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/placementchoice.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/placementguard.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/referencedeletion.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/referenceeditor.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/timetablerows.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/tutorexceptions.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/timetableclearing.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/timetablecopying.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/tutorsaving.cpp
)
