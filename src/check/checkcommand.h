#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "check" subcommand (args after the word "check"): prints every problem of the
// timetable, as tab-separated lines or an HTML page. Returns 0 when there is no error
// (warnings allowed), 1 when there is one, 2 when the document cannot be read or the
// arguments cannot be used.
int runCheckCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
