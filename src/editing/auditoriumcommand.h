#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "auditorium" subcommand (args after the word "auditorium"): gives the lessons
// of a group's or a tutor's cell another auditorium, with the checks of the window. Returns
// 0 when written, 1 when refused, 2 for arguments it cannot use.
int runAuditoriumCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
