# Printed reports: their layouts, the data bound to them, pages and report documents
# (no widgets).
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/reports/documentfiles.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/reports/gridreport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/reports/reportbinding.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/reports/reportlayout.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/reports/reportmaker.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/reports/subgroupnumbers.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/reports/reportpainter.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/reports/reportwriters.cpp
    ${PROJECT_SOURCE_DIR}/resources/reports.qrc
)
