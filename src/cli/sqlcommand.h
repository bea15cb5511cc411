#pragma once

#include <QStringList>
#include <QTextStream>

namespace korvesta {

// The headless "sql" subcommand (args after the word "sql"): runs a statement, or a saved
// query or table by name, on the document. A query prints its rows (text and tsv: a header
// line and tab-separated fields; json: an array of objects); a change prints the number of
// rows it changed, or with --dry-run what it would do to each table.
int runSqlCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace korvesta
