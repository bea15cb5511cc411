#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta suggest": the best free lessons for a line of the teaching load.
const CommandSpec &suggestCommandSpec();
int runSuggestCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
