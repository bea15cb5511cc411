# A Debian package of the installed program: scripts/package.sh runs cpack.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvesta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KORVESTA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "timetable planner for schools and colleges")
set(CPACK_PACKAGE_DESCRIPTION
    "Keeps the groups, disciplines, auditoriums and tutors of an institution,\n\
the teaching load and a day-by-day timetable with clash checks; prints\n\
timesheets, hours worked, work schedules and individual timetables.\n\
Russian user interface.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from the binary; the window speaks Russian in Qt's own dialogs only with
# Qt's translations, which the program does without.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "shared-mime-info, desktop-file-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
