#pragma once

#include "sheetfile.h"

#include <QByteArray>
#include <QChar>
#include <QString>

#include <vector>

namespace korvesta {

// The text of CSV bytes. Automatically: UTF-8 (with or without a byte-order mark) when the
// bytes are valid UTF-8; Windows-1251 when they are not and read as Russian text in it; else
// nothing, with the place of the first byte that is not UTF-8. A chosen encoding is taken as
// it is (UTF-8 still refuses bytes that are not UTF-8).
struct CsvText
{
    QString text;
    QString encoding; // as shown to the user, with why it was chosen when not plain UTF-8
    QString problem;  // why the bytes were not read; empty when they were
};
CsvText decodeCsvText(const QByteArray &bytes, CsvEncoding wanted = CsvEncoding::Auto);

// The rows of CSV text: fields split by the separator (';' or ',', whichever the first line
// has more of outside quotes), double-quoted fields with "" inside and line breaks, any mix of
// CR LF, LF and CR line ends. A quote left open, a value past the size of a cell and a table
// past the limits of an import stop the reading: no rows, and the problem naming the line.
std::vector<SheetRow> parseCsv(const QString &text, QChar *separator = nullptr,
                               QString *problem = nullptr);

} // namespace korvesta
