#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "lock" subcommand (args after the word "lock"): protects a date of the
// timetable against editing, or with --unlock lifts the protection under the user's
// password (--password). Returns 0 when the date has the wanted state, 1 when refused, 2 for
// arguments it cannot use.
int runLockCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
