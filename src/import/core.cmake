# Import of reference lists and the teaching load from .xlsx and CSV files (no widgets).
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
target_sources(korvesta_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/import/columnmapping.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/import/csvtext.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/import/loadlines.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/import/rowprompts.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/import/sheetfile.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/import/tableimport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/import/xlsxsheet.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/import/zipmember.cpp
)
target_link_libraries(korvesta_core PRIVATE PkgConfig::LIBZIP)
