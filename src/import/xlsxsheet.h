#pragma once

#include "sheetfile.h"

namespace korvesta {

// Reads one sheet of a .xlsx book (the named one, or the first) through libzip and the XML
// of its parts.
SheetTable readXlsxSheet(const QString &path, const QString &sheet);

// The column number (0-based) of a cell reference such as "AB12"; -1 when it has no letters.
int columnOfReference(QStringView reference);

} // namespace korvesta
