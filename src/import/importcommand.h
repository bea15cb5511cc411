#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "import" subcommand (args after the word "import"): imports a .xlsx or CSV
// file into a reference list or the teaching load and prints the row-by-row report. Returns
// 0 when every row was added, 1 when some were skipped or nothing was written, 2 when the
// file or the document cannot be read or the arguments cannot be used.
int runImportCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
