#pragma once

#include <QStringList>

#include <functional>

class QApplication;

namespace korvesta {

// Runs the program's window: the per-user settings and folders, the document named in
// `args` (or a new one), the main window, until it closes. `firstPainted` is called once
// the window has been painted for the first time (start-up timing).
int runMainWindow(QApplication &app, const QStringList &args,
                  const std::function<void()> &firstPainted = {});

} // namespace korvesta
