#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta import": adds the rows of an .xlsx or CSV table to a reference list or the
// teaching load with the checks of manual entry.
const CommandSpec &importCommandSpec();
int runImportCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
