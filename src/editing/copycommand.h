#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "copy" subcommand (args after the word "copy"): copies a day or a week of the
// timetable, or replicates a day over a period, with the checks and messages of the copy
// dialog. The dates written go to out, one a line; the status texts and every message to
// err. Returns 0 when the copy ran to its end, 1 when it was refused or stopped, 2 for
// arguments it cannot use.
int runCopyCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
