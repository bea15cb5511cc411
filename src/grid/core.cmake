# The grid's model and helpers (no widgets).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridcolors.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridlayout.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridmodel.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridmodel_merge.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridmodel_outline.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridtext.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridtextfit.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/selectbyvalue.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/twips.cpp
)
