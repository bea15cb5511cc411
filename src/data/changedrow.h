#pragma once

#include <QString>
#include <QVariantMap>

namespace korvesta {

class Database;

// A row of the document in words a planner knows, for the message that another program
// changed it: "занятие группы П-9 (1) на 13.10.2026, урок 3", "группу П-9 (курс 1)",
// "преподавателя Иванов И.И." (as the message's object). Empty for a table without such
// words, or when the row's names cannot be read.
QString changedRowText(const Database &db, const QString &table, const QVariantMap &row);

} // namespace korvesta
