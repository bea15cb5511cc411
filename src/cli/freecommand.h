#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta free": the groups, disciplines, auditoriums or tutors with their state at one
// lesson of one date, as the object pane beside the timetables lists them.
const CommandSpec &freeCommandSpec();
int runFreeCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
