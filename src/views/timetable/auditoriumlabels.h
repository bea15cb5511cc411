#pragma once

#include <QSet>
#include <QString>

namespace korvesta {

class Database;

// The auditorium as a timetable cell shows it: its number alone, and with its building
// ("101 (Корпус Б)") when another building has an auditorium of that number, so that the
// number never names two rooms.
class AuditoriumLabels
{
public:
    AuditoriumLabels() = default; // knows of no shared number: every label is the number
    explicit AuditoriumLabels(const Database &db);
    QString label(const QString &auditoria, const QString &corpus) const;

private:
    QSet<QString> m_shared; // numbers, case folded, that two or more buildings have
};

} // namespace korvesta
