#pragma once

#include <QStringList>

namespace korvesta {

// Marks of our documents: PRAGMA application_id and the schema version in user_version.
// Version 2 sorts "ё" after "е" in the NOCASE indexes; older documents are reindexed on open.
constexpr int kDocumentApplicationId = 0x4B565431; // "KVT1"
constexpr int kDocumentSchemaVersion = 2;

// The tables every document has; a file without one of them is not a document of ours.
const QStringList &documentTables();

// Name of the table that holds the saved queries (columns Name, SQL).
inline constexpr const char *kSavedQueriesTable = "sysQueries";

} // namespace korvesta
