#pragma once

#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVariant>

#include <vector>

namespace korvesta {

// How a command prints its records: text for a person, tsv for a spreadsheet or a shell
// loop (one header line, a line a record, tabs between), json for any other program (an
// array of objects keyed by the field names).
enum class RecordFormat { Text, Tsv, Json };

// The --format words, in the order of RecordFormat.
const QStringList &recordFormatWords();

// A value as json writes it: numbers, true and false, dates as yyyy-mm-dd, moments in ISO
// form, null for a null value or an invalid date.
QJsonValue jsonValueOf(const QVariant &value);

// Records with named fields. A date is written as dd.mm.yyyy in text and tsv (yyyy-mm-dd
// with isoDates) and always as yyyy-mm-dd in json; a null value is empty, or null in json.
struct Records
{
    QStringList fields;  // the names json uses ("date", "lesson", ...)
    QStringList headers; // the header line of text and tsv ("Дата", "Урок", ...)
    std::vector<QVariantList> rows;

    void write(RecordFormat format, QTextStream &out, bool isoDates = false) const;
};

} // namespace korvesta
