#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include "data/documenthealth.h"

#include <vector>

namespace korvesta {

class Database;
struct SettingsRecord;

// One list of what is wrong with a timetable, found by reading every lesson of a period once:
// what placing refuses one lesson at a time, but what copying, edits of the load or the
// calendar, and other planners on the same file can still leave behind.

enum class ProblemKind {
    FileDamage,      // SQLite's check of the file finds it damaged
    TutorClash,      // a tutor gives two different lessons at once
    AuditoriumClash, // an auditorium holds two different lessons at once
    GroupClash,      // a group (or one subgroup) has two lessons at once
    OverHours,       // a load line has more lessons than hours
    DayOff,          // a lesson on a weekday past the working days
    Holiday,
    RestPeriod,
    OutsideStudy,    // before or after the study period
    TutorAbsent,     // in one of the tutor's exceptions
    GroupDayLimit,   // more lessons a day than the group may have
    TutorDayLimit,
    Orphan,          // a lesson whose date, load line, group, tutor or auditorium is gone
    HoursLeft,       // (a warning) a load line with hours left at the end of the study period
};
constexpr int kProblemKinds = int(ProblemKind::HoursLeft) + 1;

// What the list calls a kind: "Преподаватель в двух местах одновременно".
QString problemKindText(ProblemKind kind);
// Every kind is an error but the hours left, which is a warning.
bool isError(ProblemKind kind);

struct TimetableProblem
{
    ProblemKind kind = ProblemKind::TutorClash;
    QDate date;   // invalid when the problem has no date (a load line, a lesson without one)
    int lesson = 0;
    QString group; // the group to open the cell of: "П-9" (with course)
    QString course;
    QString tutor;
    QString objects;     // what it concerns, for the list: "Иванов; П-1, П-2"
    QString explanation; // a short sentence
};

struct TimetableCheck
{
    QDate from, to; // the period checked
    std::vector<TimetableProblem> problems; // by kind, then date and lesson
    int errors = 0;
    int warnings = 0;
};

// Checks the lessons of the period (both ends included; an invalid end is open) against the
// document and the settings, reading the lessons of the period's dates alone; a lesson whose
// date row is gone is found by a check of the whole document. The load's hours are weighed
// against the lessons of the study period; the hours left are looked at only when the period
// reaches the end of the study period and the timetable has lessons in its last week. The
// file itself is checked by SQLite first: quickly when the whole document is checked, in
// full when asked (for any period); what it finds damaged is an error, and the check returns
// it even when the damage stops the rest. Throws DbError when the document cannot be read.
TimetableCheck checkTimetable(const Database &db, const SettingsRecord &settings,
                              const QDate &from = {}, const QDate &to = {},
                              IntegrityScan scan = IntegrityScan::Quick);

} // namespace korvesta
