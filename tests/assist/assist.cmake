# The placement assistant against documents built in code.
korvesta_test(tests_assist
    ${CMAKE_CURRENT_SOURCE_DIR}/data/institutionbuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/assist/cover_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/assist/coverreport_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/assist/slotsuggestion_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/assist/slotmap_test.cpp
)
