#pragma once

#include <QApplication>

namespace korvesta {

// Widget tests share one application object, created on first use. It is never destroyed:
// tearing it down among the exit handlers, after parts of Qt are gone, crashes.
inline QApplication &testApplication()
{
    static int argc = 1;
    static char name[] = "grid-tests";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

} // namespace korvesta
