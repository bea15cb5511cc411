#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta server-init": a document made in an empty database of a PostgreSQL server, empty
// or copied from a file; "korvesta server-export": a server document copied into a file.
const CommandSpec &serverInitCommandSpec();
int runServerInitCommand(const QStringList &args, QTextStream &out, QTextStream &err);
const CommandSpec &serverExportCommandSpec();
int runServerExportCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
