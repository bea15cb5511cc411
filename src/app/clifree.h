#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "free" subcommand (args after the word "free"): prints the groups,
// disciplines, auditoriums or tutors with their state at one lesson of one date, as the
// object pane beside the timetables lists them. Returns 0 when printed, 1 when the document
// could not be read, 2 for arguments it cannot use.
int runFreeCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
