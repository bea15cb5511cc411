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

// Reads a .xlsx book (the named sheet, or the first) or a CSV file, told apart by their
// content rather than the file's extension. An old binary .xls book, a book protected with a
// password, a damaged file and a missing sheet come back with the reason and what to do.
SheetTable readSheetFile(const QString &path, const QString &sheet = QString());

// The text of CSV bytes: UTF-8 (with or without a byte-order mark) when the bytes are valid
// UTF-8, else Windows-1251. encoding receives the name shown to the user.
QString decodeCsvText(const QByteArray &bytes, QString *encoding = nullptr);
// The rows of CSV text: fields split by the separator (';' or ',', whichever the first line
// has more of outside quotes), double-quoted fields with "" inside and line breaks, any mix of
// CR LF, LF and CR line ends.
std::vector<SheetRow> parseCsv(const QString &text, QChar *separator = nullptr);

} // namespace korvesta
