#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta auditorium": gives the lessons of a group's or a tutor's cell another
// auditorium, with the checks of the window.
const CommandSpec &auditoriumCommandSpec();
int runAuditoriumCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
