# The grid widget and the icon set it draws cells' pictures from.
find_package(Qt6 REQUIRED COMPONENTS Svg)
target_sources(korvesta_gui PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridicons.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridpainter.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridtextcache.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridview.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridview_edit.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridview_fit.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/grid/gridview_keys.cpp
    ${PROJECT_SOURCE_DIR}/resources/icons.qrc
)
target_link_libraries(korvesta_gui PUBLIC Qt6::Svg)
