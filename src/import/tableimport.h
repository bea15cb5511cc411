#pragma once

#include "columnmapping.h"
#include "sheetfile.h"

#include <QString>
#include <QTextStream>

#include <vector>

namespace korvesta {

class Database;
class Prompts;
struct SettingsRecord;

struct ImportOptions
{
    // The load's tutors, disciplines and groups that the lists lack are added to them.
    bool createMissing = false;
    // Every row is tried and reported, and nothing is written.
    bool dryRun = false;
};

// What became of one row of the sheet.
struct ImportRowResult
{
    int number = 0;   // the row's number in the file
    bool added = false;
    QString text;     // what was added, or why the row was skipped
};

struct ImportReport
{
    QString source;
    std::vector<ImportRowResult> rows;
    int added = 0;
    int skipped = 0;
    // The document holds the added rows (false for a dry run, a refusal, a cancel).
    bool written = false;
    // Why nothing was imported at all; empty when the rows were tried.
    QString refusal;

    // The report as text: a summary line, then one line per row ("Строка 3\tдобавлено\t...").
    QString text() const;
};

// The most rows a reference list takes from one table; the load has no such limit.
constexpr int kReferenceRowLimit = 5000;

// The header row of the table: its first row.
QStringList sheetHeaders(const SheetTable &table);

// Imports the rows after the header through the checks of manual entry, each refusal becoming
// the reason its row is skipped. Everything is one transaction and one step of the history:
// when some rows were skipped the user is asked whether to add the others, and a "No", a dry
// run or a document error leave the document as it was. Throws DbError.
ImportReport importTable(const Database &db, const SettingsRecord &settings, Prompts &prompts,
                         const SheetTable &table, const ColumnMapping &mapping,
                         const ImportOptions &options);

} // namespace korvesta
