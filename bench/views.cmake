include(lists.cmake)
include(timetable.cmake)
