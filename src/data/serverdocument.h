#pragma once

#include <QString>

namespace korvesta {

// A document on a PostgreSQL server holds the same tables as a file, with the same names,
// columns and keys: text compared without regard to letter case through an ICU collation, a
// table without a key of its own given a hidden row number, and the document's version in
// sysDocument.

// Creates the document's layout in an empty database and copies the file document `from`
// into it (an empty new document when `from` is empty), every row with its key, all in one
// transaction. Refuses a database that already holds tables. Throws DbError.
void initServerDocument(const QString &uri, const QString &from = QString());

// Writes the server document at `uri` into a new file document (replacing a file there only
// once the whole copy is written). Throws DbError.
void exportServerDocument(const QString &uri, const QString &file);

} // namespace korvesta
