#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace korvesta {

class Connection;

// Marks of our documents: PRAGMA application_id and the schema version in user_version.
// Version 2 sorts "ё" after "е" in the NOCASE indexes. Version 3 has no index ordered by
// NOCASE at all: other SQLite programs order text by an ASCII-only NOCASE, so such an index
// would be out of order as soon as one of them writes the file. Version 4 counts the load's
// lessons in the study period (the saved queries that do, and the index they read). Version 5
// keeps the lessons the automatic compilation placed (tblCompiledLessons).
constexpr int kDocumentApplicationId = 0x4B565431; // "KVT1"
constexpr int kDocumentSchemaVersion = 6;

// The tables every document has; a file without one of them is not a document of ours.
const QStringList &documentTables();

// Name of the table that holds the saved queries (columns Name, SQL).
inline constexpr const char *kSavedQueriesTable = "sysQueries";

// What an open learns about a connection's document, once for the life of the connection.
// mayWrite: the opening program may write (the window, a command that changes data): a
// document of an earlier layout is then brought to the present one, and one made by a later
// version of the program is fenced off from writing. A read writes nothing. Throws DbError.
void inspectDocument(const std::shared_ptr<Connection> &connection, bool mayWrite);

// The document was made by a later version of the program: it is read, never written.
bool isFromNewerVersion(const std::shared_ptr<Connection> &connection);

// Throws DbError (ReadOnly) with the reason when the document must not be written.
void ensureWritable(const std::shared_ptr<Connection> &connection);

// Throws DbError (SyntaxError) when a statement, or the saved query of that name, reads a
// saved query whose stored text is damaged (holds a NUL character, which would silently cut
// the statement short).
void ensureIntactQueries(const std::shared_ptr<Connection> &connection,
                         const QString &sqlOrName);

// Throws DbError (SyntaxError) for query text the document cannot keep whole.
void ensureStorableQueryText(const QString &name, const QString &sql);

} // namespace korvesta
