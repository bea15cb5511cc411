#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "busy" subcommand (args after the word "busy"): marks a tutor's busy time
// with a kind, or removes the marks, as the busy-time view does. Returns 0 when the document
// was changed, 1 when refused, 2 for arguments it cannot use.
int runBusyCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
