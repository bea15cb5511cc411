#pragma once

#include <QGuiApplication>

namespace korvesta {

// Pages are laid out with fonts, which want the GUI classes (offscreen). The application is
// made once for the whole test program and never destroyed: tearing it down among the exit
// handlers crashes.
inline void ensureGuiApplication()
{
    static int argc = 1;
    static char name[] = "gui-tests";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = new QGuiApplication(argc, argv);
    Q_UNUSED(app)
}

} // namespace korvesta
