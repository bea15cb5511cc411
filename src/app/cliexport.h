#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// "korvesta export FILE CODE OUT.xlsx [the options of korvesta view]": fills the view as the
// view command does and writes its grid to a spreadsheet file, formatted as the window's
// export formats it. Returns 0 when the file was written, 1 when it could not be, 2 for
// arguments it cannot use (a view that is not exported among them).
int runExportCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
