#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta sql": runs a statement or a saved query of the document.
const CommandSpec &sqlCommandSpec();
int runSqlCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
