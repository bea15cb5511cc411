#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta report": writes one of the document's reports to a PDF, HTML, RTF or text file.
const CommandSpec &reportCommandSpec();
int runReportCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
