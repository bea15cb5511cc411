# What a desktop needs beside the program: menu entry, file type, icons, AppStream
# description, manual page and shell completion. Every path is relative to the prefix.
include(GNUInstallDirs)

set(KORVESTA_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)
set(KORVESTA_ICON_SIZES 16 22 24 32 48 64 128 256)

find_package(Qt6 REQUIRED COMPONENTS Svg)
add_executable(korvesta_iconpng tools/iconpng.cpp)
target_link_libraries(korvesta_iconpng PRIVATE Qt6::Gui Qt6::Svg)

set(icon_dir ${CMAKE_BINARY_DIR}/icons)
set(icon_pngs)
foreach(icon korvesta application-x-korvesta)
    set(outputs)
    foreach(size ${KORVESTA_ICON_SIZES})
        list(APPEND outputs ${icon_dir}/${icon}-${size}.png)
    endforeach()
    add_custom_command(OUTPUT ${outputs}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                $<TARGET_FILE:korvesta_iconpng> ${KORVESTA_DESKTOP_DIR}/${icon}.svg
                ${icon_dir}/${icon} ${KORVESTA_ICON_SIZES}
        DEPENDS korvesta_iconpng ${KORVESTA_DESKTOP_DIR}/${icon}.svg
        VERBATIM)
    list(APPEND icon_pngs ${outputs})
endforeach()

# The manual page's commands and the bash completion come from the program's own command
# definitions, so that they never tell another story than its --help. Debian wants manual
# pages compressed; man reads either.
set(man_page ${CMAKE_BINARY_DIR}/korvesta.1.gz)
add_custom_command(OUTPUT ${man_page}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:korvesta>
            -DTEMPLATE=${KORVESTA_DESKTOP_DIR}/korvesta.1.in
            -DOUTPUT=${CMAKE_BINARY_DIR}/korvesta.1 -P ${PROJECT_SOURCE_DIR}/cmake/manpage.cmake
    COMMAND sh -c "gzip -9n -c '${CMAKE_BINARY_DIR}/korvesta.1' > '${man_page}'"
    DEPENDS korvesta ${KORVESTA_DESKTOP_DIR}/korvesta.1.in ${PROJECT_SOURCE_DIR}/cmake/manpage.cmake
    VERBATIM)
set(completion ${CMAKE_BINARY_DIR}/korvesta.bash-completion)
add_custom_command(OUTPUT ${completion}
    COMMAND sh -c "ASAN_OPTIONS=detect_leaks=0 '$<TARGET_FILE:korvesta>' help --bash-completion > '${completion}'"
    DEPENDS korvesta
    VERBATIM)
add_custom_target(korvesta_desktop_files ALL DEPENDS ${icon_pngs} ${man_page} ${completion})

set(share ${CMAKE_INSTALL_DATADIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/korvesta.desktop DESTINATION ${share}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/korvesta-mime.xml
        DESTINATION ${share}/mime/packages RENAME korvesta.xml)
install(FILES ${KORVESTA_DESKTOP_DIR}/korvesta.metainfo.xml
        DESTINATION ${share}/metainfo RENAME org.korvesta.Korvesta.metainfo.xml)
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${completion}
        DESTINATION ${share}/bash-completion/completions RENAME korvesta)
install(FILES ${KORVESTA_DESKTOP_DIR}/korvesta.svg
        DESTINATION ${share}/icons/hicolor/scalable/apps)
install(FILES ${KORVESTA_DESKTOP_DIR}/application-x-korvesta.svg
        DESTINATION ${share}/icons/hicolor/scalable/mimetypes)
foreach(size ${KORVESTA_ICON_SIZES})
    install(FILES ${icon_dir}/korvesta-${size}.png
            DESTINATION ${share}/icons/hicolor/${size}x${size}/apps RENAME korvesta.png)
    install(FILES ${icon_dir}/application-x-korvesta-${size}.png
            DESTINATION ${share}/icons/hicolor/${size}x${size}/mimetypes
            RENAME application-x-korvesta.png)
endforeach()

# The package's own documents, as Debian lays them out. Whoever builds the package for an
# institution names themselves as its maintainer.
set(KORVESTA_MAINTAINER "Korvesta <packages@korvesta.invalid>" CACHE STRING
    "Maintainer of the package, as \"Name <address>\"")
# Dated from SOURCE_DATE_EPOCH when the builder sets it, else from the last commit, so that the
# same sources give the same package (string(TIMESTAMP) reads SOURCE_DATE_EPOCH).
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git log -1 --format=%ct
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE last_commit OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE git_result ERROR_QUIET)
    if(git_result EQUAL 0 AND last_commit)
        set(ENV{SOURCE_DATE_EPOCH} ${last_commit})
    endif()
endif()
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${CMAKE_BINARY_DIR}/changelog
    "korvesta (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
    "  * Release ${PROJECT_VERSION}.\n\n"
    " -- ${KORVESTA_MAINTAINER}  ${changelog_date}\n")
set(changelog ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
    COMMAND sh -c "gzip -9n -c '${CMAKE_BINARY_DIR}/changelog' > '${changelog}'"
    DEPENDS ${CMAKE_BINARY_DIR}/changelog
    VERBATIM)
add_custom_target(korvesta_changelog ALL DEPENDS ${changelog})
install(FILES ${KORVESTA_DESKTOP_DIR}/copyright ${changelog}
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
