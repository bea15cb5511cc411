# The reference list views: frame builders of the lists, the load, the tutor passport, the
# accounting and busy-time views; the list fills and the object lists of the left pane.
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/views/frames/accountingframes.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/frames/busytimeframe.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/frames/entryarea.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/frames/framesetup.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/frames/listframes.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/lists/auditorialist.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/lists/celltext.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/lists/disciplinelist.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/lists/grouplist.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/lists/grouppassport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/lists/listfills.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/lists/listtotals.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/lists/objectlists.cpp
)
