#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

struct CommandSpec;

// "korvesta export": fills a view as "korvesta view" does and writes its grid to an .xlsx
// table as the window's export does.
const CommandSpec &exportCommandSpec();
int runExportCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
