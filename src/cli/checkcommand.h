#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "check" subcommand (args after the word "check"): prints every problem of the
// timetable as text, tab-separated lines, JSON or an HTML page. Returns 0 when there is no
// error (warnings allowed), 1 when there is one, 2 for a command line it cannot use, 3 when
// the document cannot be read.
int runCheckCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
