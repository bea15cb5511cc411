#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <utility>

namespace korvesta {

class Database;

// Writes a new document to path, replacing a file that is there: all tables, the first
// entries of the type lists and the saved queries, then whatever fill writes into it. The
// file is built beside the target under a hidden passing name and renamed over it, so a
// failure leaves the old file as it was and removes the passing one. Throws DbError (and
// whatever fill throws).
void writeNewDocument(const QString &path,
                      const std::function<void(const Database &)> &fill = {});

// Removes the passing files in folder that a killed run left behind (those no running
// program holds).
void removeStaleScratchFiles(const QString &folder);

// The template script, as compiled into the program.
QString documentTemplateScript();

// The saved queries every new document carries: name and text in the program's dialect.
QList<std::pair<QString, QString>> documentTemplateQueries();
// The text of one of them; empty for a name that is not.
QString templateQueryText(const QString &name);
// Whether the document's saved query is still the one every new document carries (white
// space aside), so that a faster statement with the same rows may stand in for it; a query
// of the planner's own is run as it stands.
bool isTemplateQuery(const Database &db, const QString &name);

} // namespace korvesta
