#pragma once

#include "sheetfile.h"

namespace korvesta {

// Reads one sheet of a .xlsx book (the named one, or the first) through libzip and the XML
// of its parts.
SheetTable readXlsxSheet(const QString &path, const QString &sheet);

// The last row and column (0-based) a book can have: 1 048 576 rows, columns A to XFD.
constexpr int kLastRow = 1048575;
constexpr int kLastColumn = 16383;

// The column number (0-based) of a cell reference such as "AB12"; -1 when it has no letters
// or names a column past XFD.
int columnOfReference(QStringView reference);

} // namespace korvesta
