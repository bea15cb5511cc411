#pragma once

#include "data/recordset.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

namespace korvesta {

class Database;

// Small reads the editing of the timetable shares. All throw DbError.

using QueryParameters = std::vector<std::pair<QString, QVariant>>;

// A saved query of the document opened with its parameters.
Recordset openSavedQuery(const Database &db, const QString &name,
                         const QueryParameters &parameters);
// The field of the saved query's first row as a number; 0 when it returns none.
int firstNumber(const Database &db, const QString &name, const QueryParameters &parameters,
                const QString &field);
// "101 (Главный)" from the row's Auditoria and Corpus; empty without an auditorium.
QString auditoriumText(const Recordset &rs);
// The Key of the date's timetable row; 0 when the date has none.
int existingDayKey(const Database &db, const QDate &date);
// The date is protected against editing.
bool dateProtected(const Database &db, const QDate &date);

} // namespace korvesta
