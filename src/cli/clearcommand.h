#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta clear": deletes the timetable of dates, or one cell's lessons, as the window
// does.
const CommandSpec &clearCommandSpec();
int runClearCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
