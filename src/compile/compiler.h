#pragma once

#include "slotproblem.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

namespace korvesta {

class Database;
struct SettingsRecord;

// What to compile: the period, the groups (by key; none for every group), and how long to
// search.
struct CompileRequest
{
    QDate from, to;
    std::vector<int> groups;
    // The lessons an earlier compilation placed in the period (and the planner has not moved
    // since) are taken away and placed anew with the rest.
    bool replace = false;
    unsigned seed = 1;
    double timeLimitSeconds = 10;
    SoftWeights weights;
    const std::atomic<bool> *cancel = nullptr;
    std::function<void(int placed, long long cost)> progress;
};

// A load line of the period: how many lessons it should get and got, and, when it is short,
// why.
struct CompiledLine
{
    int keyJobList = 0;
    QString group; // "П-9 (1)"
    QString tutor;
    QString discipline;
    int target = 0;
    int placed = 0;
    QString reason; // empty when the target was met
};

// A lesson the compiler placed: where it is in the timetable.
struct CompiledLesson
{
    QDate date;
    int lesson = 0;
    QString group; // the group's name, as the timetable's columns show it
    QString course;
};

struct CompileResult
{
    QString refusal; // why nothing was compiled; empty otherwise
    std::vector<CompiledLine> lines;
    int target = 0;
    int placed = 0;
    int groupGaps = 0; // in the period, the lessons kept and placed together
    int tutorGaps = 0;
    int usualAuditorium = 0; // placed lessons in their tutor's usual auditorium
    int replaced = 0;        // lessons of an earlier compilation taken away
    bool complete = false;   // the search ended by itself, not at the time limit
    bool cancelled = false;
    bool written = false;
    QStringList checkErrors; // what the timetable check found that the plan would bring
    QStringList notes;       // weeks that took nothing, and why
    std::vector<CompiledLesson> placedLessons;
};

// The share of a line's hours left that falls to a period: the hours spread evenly over the
// working days from the period's start to the study period's end, rounded, so that the last
// period takes all that is left and the year's total comes out exact.
int lessonShare(int hoursLeft, int periodDays, int daysLeft);

// How many lessons of an earlier compilation a request with `replace` would take away: those
// in its period and groups that stand as they were placed, on dates open to change.
int compiledLessonCount(const Database &db, const CompileRequest &request);

// Places the lessons of the load lines that have hours left in the period, around the
// lessons already there, under every placement rule: one step of the history and one
// transaction, checked by the timetable check before it is kept (a plan the check would
// find an error in is not written). Throws DbError.
CompileResult compileTimetable(const Database &db, const SettingsRecord &settings,
                               const CompileRequest &request);

} // namespace korvesta
