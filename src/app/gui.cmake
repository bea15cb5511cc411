# The main window, its panes and its command handlers.
find_package(X11 QUIET)
target_sources(korvesta_gui PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/app/appicons.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/busyindicator.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/compilecommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/dlgdeletetimetable.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/dlgcopyshedule.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/dlggenerate.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/dlgserver.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/dlggridfont.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/dlgimport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/dlgnewyear.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/dlgselectjob.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/filecommands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/frmabout.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/frmhelp.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/frmoptions.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/frmoptions_lists.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/frmoptions_tabs.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/frmpreview.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/gridinteraction.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/gridlookcommands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/helpcommands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/datelockcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/frmcheck.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/frmcover.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/frmnote.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/frmresultlist.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/exportcommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/historycommands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/liverefresh.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/plannerslist.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/notecommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/publishmenucommand.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/keyboardlocks.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/mainwindowmenus.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/mainwindowtoolbars.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/navigationbar.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/objectpane.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/rangecalendar.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/slotassistant.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/reportcommands.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/reportpreview.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/startup.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/statusbarpanels.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/statusprogress.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/viewdispatcher.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/appicons.qrc
)
target_compile_definitions(korvesta_gui PRIVATE KORVESTA_VERSION="${PROJECT_VERSION}")
if(X11_FOUND)
    target_compile_definitions(korvesta_gui PRIVATE KORVESTA_HAVE_X11)
    target_link_libraries(korvesta_gui PRIVATE X11::X11)
endif()

# The help pages go beside the program in the build tree and to share/korvesta when
# installed; the window looks in both places.
add_custom_command(TARGET korvesta POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/resources/help
            $<TARGET_FILE_DIR:korvesta>/help)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help/ DESTINATION share/korvesta/help)

# The About box names its build date; only that file is rebuilt when the date changes.
# SOURCE_DATE_EPOCH, when set, makes the date reproducible.
string(TIMESTAMP KORVESTA_BUILD_DATE "%d.%m.%Y")
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/app/frmabout.cpp PROPERTIES
    COMPILE_DEFINITIONS "KORVESTA_BUILD_DATE=\"${KORVESTA_BUILD_DATE}\"")
target_compile_definitions(korvesta PRIVATE KORVESTA_VERSION="${PROJECT_VERSION}")
