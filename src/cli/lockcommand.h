#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta lock": closes a date of the timetable to editing, or opens it again with the
// password of the program's settings.
const CommandSpec &lockCommandSpec();
int runLockCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
