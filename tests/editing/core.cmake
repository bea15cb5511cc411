# Editing of the reference lists against documents built in code.
korvesta_test(tests_editing
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/referencesave_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/referencedelete_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/writefailure_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/objectnames_test.cpp
)

# The teaching load's editing against documents built in code.
korvesta_test(tests_loadedit
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/load_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/loadrouting_test.cpp
)

# Lesson placement from a timetable cell, against documents built in code.
korvesta_test(tests_placement
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/placement_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/tutorexceptions_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/datenote_test.cpp
)

# Clearing timetable cells and deleting whole dates, against documents built in code.
korvesta_test(tests_clearing
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/clearing_test.cpp
)

# Copying a day or a week of the timetable, against documents built in code.
korvesta_test(tests_copying
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/editing/copying_test.cpp
)
