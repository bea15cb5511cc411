#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// "korvesta view FILE CODE [options]": fills a view headlessly, through the same settings and
// the same fill routines as the window, and prints its grid. Returns the exit code.
int runViewCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
