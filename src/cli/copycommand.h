#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta copy": copies a day or a week of the timetable, or replicates a day over a
// period, all or nothing.
const CommandSpec &copyCommandSpec();
int runCopyCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
