# Navigation: the view table, the navigation state, the dispatcher's plan and the fills'
# registry (no widgets).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/views/datechange.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/dispatchplan.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/displaytextmodes.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/gridappearance.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/headlessviews.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/navigationstate.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/uisettings.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/viewfills.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/viewrun.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/views/viewtable.cpp
)
