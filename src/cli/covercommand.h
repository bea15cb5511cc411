#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta cover": who can take an absent tutor's lessons; gives them with --assign.
const CommandSpec &coverCommandSpec();
int runCoverCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
