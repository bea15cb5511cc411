#pragma once

#include <QDate>
#include <QHash>
#include <QString>

namespace korvesta {

class Database;

// The subgroup each lesson of a period is shown with (shownSubgroup()), read from every
// lesson of the period at once: a tutor's or an auditorium's report holds only its own
// lessons, while whether a lesson is a subgroup's depends on the group's other lessons at
// that hour. Lessons are found by date, lesson number, the group as the reports name it
// ("П-9  (1)") and the stored subgroup.
class SubgroupNumbers
{
public:
    SubgroupNumbers(const Database &db, const QDate &from, const QDate &to);
    // The number to show; 0 for the whole group (and for a lesson not read).
    int shown(const QDate &date, int lesson, const QString &groupCourse, int stored) const;

private:
    static QString key(const QDate &date, int lesson, const QString &groupCourse, int stored);
    QHash<QString, int> m_shown;
};

} // namespace korvesta
