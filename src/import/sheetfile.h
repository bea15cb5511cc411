#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace korvesta {

// One row of a sheet as read: its number in the file (1-based, as the spreadsheet program
// or a text editor shows it) and its cells from the first column on.
struct SheetRow
{
    int number = 0;
    QStringList cells;
};

// A table read from a spreadsheet or a text file, every cell as text: numbers without a
// needless ".0", dates (serial numbers under a date format) as dd.mm.yyyy.
struct SheetTable
{
    QString source;         // how it was read: "Книга Excel (.xlsx), лист «Лист1»", "CSV, UTF-8, ';'"
    QStringList sheetNames; // the book's sheets; empty for a text file
    std::vector<SheetRow> rows; // rows with at least one cell filled
    QString error;          // why nothing could be read; empty when read
    bool ok() const { return error.isEmpty(); }
};

// How the text of a CSV file is read: told by its bytes, or as the user says.
enum class CsvEncoding { Auto, Utf8, Windows1251 };

// Reads a .xlsx book (the named sheet, or the first) or a CSV file, told apart by their
// content rather than the file's extension. An old binary .xls book, a book protected with a
// password, a damaged file, a missing sheet and a file past the limits of an import come back
// with the reason and what to do.
SheetTable readSheetFile(const QString &path, const QString &sheet = QString(),
                         CsvEncoding encoding = CsvEncoding::Auto);

} // namespace korvesta
