#pragma once

#include <QStringList>

namespace korvesta {

// Marks of our documents: PRAGMA application_id and the schema version in user_version.
constexpr int kDocumentApplicationId = 0x4B565431; // "KVT1"
constexpr int kDocumentSchemaVersion = 1;

// The tables every document has; a file without one of them is not a document of ours.
const QStringList &documentTables();

// Name of the table that holds the saved queries (columns Name, SQL).
inline constexpr const char *kSavedQueriesTable = "sysQueries";

} // namespace korvesta
