#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta busy": marks a tutor's busy time with a kind, or removes the marks, as the
// busy-time view does.
const CommandSpec &busyCommandSpec();
int runBusyCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
