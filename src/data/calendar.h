#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace korvesta {

class Database;
class DocumentSession;
class SettingsStore;

// Calendar helpers shared by the views and editors. The date text of SQL is in sqltext.h.

// 1 September of the academic year that holds `today`: this year's from September on,
// last year's before (August 2007 -> 1.09.2006, September 2007 -> 1.09.2007).
QDate academicYearStart(const QDate &today = QDate::currentDate());

// The working week of a date, counted from the Monday on or before the start of the
// academic year of `today` (that week is 1), less the whole weeks of the rest periods that
// have begun by the date. 0 when the document cannot be read (the user has been told).
int workingWeekNumber(DocumentSession &session, const QDate &date,
                      const QDate &today = QDate::currentDate());
// Same on an open document; throws DbError.
int workingWeekNumber(const Database &db, const QDate &date,
                      const QDate &today = QDate::currentDate());

// The Key of the date's tblTimeTableList row, adding the row when the date has none; a new
// row is protected when the setting SaveCurrTable is on. 0 when the document cannot be
// read or written (the user has been told).
int timetableDayKey(DocumentSession &session, const SettingsStore &settings, const QDate &date);
// Same on an open document, with ReadOnly of a new row given; throws DbError.
int timetableDayKey(const Database &db, const QDate &date, bool readOnlyWhenAdded);

// Why a date cannot take lessons: a day past the working days, a date outside the study
// period, a vacation or a holiday. Empty when the date can take lessons. Throws DbError.
QString calendarRefusal(const Database &db, const QDate &date, int workDays);

// The study calendar (the study period, vacations and holidays) read once, for the questions
// of many dates.
class StudyCalendar
{
public:
    // Throws DbError.
    explicit StudyCalendar(const Database &db);
    // Why the date takes no lessons (outside the study period, a vacation or a holiday), as
    // calendarRefusal says it; empty when it does. The working days are not asked.
    QString refusal(const QDate &date) const;

private:
    struct Period
    {
        bool study = false; // the study period; otherwise a vacation or a holiday
        QDate start, end;
    };
    std::vector<Period> m_periods; // in the order of the calendar's rows
};
// A weekday name or abbreviation in Russian, any letter case, as 1 (Monday) to 7 (Sunday):
// "понедельник", "пон", "пн", ... "воскресенье", "воскр", "воск", "вос", "вс". Anything else,
// including a name with blanks around it, gives 0.
int weekdayNumber(const QString &text);

} // namespace korvesta
