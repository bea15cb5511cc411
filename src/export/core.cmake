# Spreadsheet export: a view's grid laid out as a sheet and written as .xlsx (no widgets).
find_package(PkgConfig REQUIRED)
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/export/exportformat.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/export/pagebreaks.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/export/sheetplan.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/export/xlsxexport.cpp
)
target_link_libraries(korvesta_core PRIVATE PkgConfig::XLSXWRITER)
