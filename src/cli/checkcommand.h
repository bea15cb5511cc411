#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta check": every clash and breach of the timetable in a period.
const CommandSpec &checkCommandSpec();
int runCheckCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
