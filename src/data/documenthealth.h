#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace korvesta {

class Connection;

// What SQLite's own checks of the file find wrong: nothing when the document is whole. Quick
// reads every page and checks the structure of each table; full also compares every index
// with its table (seconds on a year of lessons). A file too damaged to be checked comes back
// as one line saying so; nothing at all (nullopt) when another program's lock kept the check
// from running.
enum class IntegrityScan { Quick, Full };
std::optional<QStringList> integrityProblems(Connection &connection,
                                             IntegrityScan scan = IntegrityScan::Quick);

// The message of a document that fails the check, for a write that is refused.
QString damagedDocumentMessage(const QString &path, const QStringList &problems);

} // namespace korvesta
