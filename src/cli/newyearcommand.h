#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta new-year": writes the document of the next academic year.
const CommandSpec &newYearCommandSpec();
int runNewYearCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
