#pragma once

#include <QDate>
#include <QString>

namespace korvesta {

// The rules of a date chosen on the calendar; the window runs them in this order: refill,
// date text, lock state, calendar hidden, note, week number, day-off message, exams.
struct DateChange
{
    static inline const QString DayOffMessage = QStringLiteral("Выбран выходной день");
    static inline const QString LockedComment =
        QStringLiteral("Дата заблокирована для редактирования");
    // Status-bar panel 8 until a date is chosen.
    static inline const QString TodayText = QStringLiteral("...текущая");

    bool refill = false;   // the view depends on the date (codes above 34)
    QString dateText;      // status-bar panel 8
    bool dayOff = false;   // beyond the working days of the week

    static DateChange make(int viewCode, const QDate &date, int workDays);

    // Panel 11 for a date with or without the edit lock.
    static QString lockComment(bool locked) { return locked ? LockedComment : QString(); }
    // Dates on screen: "dd.mm.yyyy".
    static QString formatDate(const QDate &date);
    // Beyond the working days: its weekday, Monday 1, above workDays.
    static bool isDayOff(const QDate &date, int workDays);
};

} // namespace korvesta
