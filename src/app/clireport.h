#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// korvesta report FILE "НАЗВАНИЕ" [--object ИМЯ] [--from Д] [--to Д] --out ФАЙЛ: writes a
// printed report of the document as a PDF, HTML, RTF or text file.
int runReportCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
