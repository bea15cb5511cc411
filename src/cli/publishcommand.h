#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta publish": writes the timetable's calendars and web pages into a folder.
const CommandSpec &publishCommandSpec();
int runPublishCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
