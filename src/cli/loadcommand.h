#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta load": adds, changes or removes a line of the teaching load with the checks of
// the load window.
const CommandSpec &loadCommandSpec();
int runLoadCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
