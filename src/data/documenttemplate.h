#pragma once

#include <QList>
#include <QString>

#include <utility>

namespace korvesta {

// Writes a new, empty document (all tables, the first entries of the type lists, no saved
// queries yet) to path, replacing a file that is there. The file is built beside the
// target and renamed over it, so a failure leaves the old file as it was. Throws DbError.
void writeNewDocument(const QString &path);

// The template script, as compiled into the program.
QString documentTemplateScript();

// The saved queries every new document carries: name and text in the program's dialect.
QList<std::pair<QString, QString>> documentTemplateQueries();

} // namespace korvesta
