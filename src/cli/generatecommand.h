#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta generate": compiles a period automatically, placing the lessons the load lines
// still need around the lessons already there.
const CommandSpec &generateCommandSpec();
int runGenerateCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
