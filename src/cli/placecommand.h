#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta place": places a lesson in a timetable cell with the checks of the placement
// dialog.
const CommandSpec &placeCommandSpec();
int runPlaceCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
