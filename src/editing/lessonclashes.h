#pragma once

#include <QDate>
#include <QHash>
#include <QString>

#include <vector>

namespace korvesta {

class Database;

// The timetable's clash rules for the lessons of one date and lesson number, as every writer
// checks them inside its transaction before it adds a lesson:
// - a tutor teaches one lesson at a time: one discipline in one auditorium, for as many
//   groups as attend it (a lecture);
// - a group meets once, or once per subgroup, and the whole group (subgroup 0) alone;
// - an auditorium holds one lesson: one tutor's discipline.

struct SlotLesson
{
    qint64 key = 0; // tblTimeTableContent.Key; 0 for a lesson not yet written
    int lesson = 0;
    int keyJob = 0;
    int keyTutor = 0;
    int keyGroup = 0;
    int keyAud = 0;
    int subGroup = 0;
    QString group; // "П-9 (1)"
    QString discipline;
    QString tutor;
    // "П-9 (1), Матем, Иванов": what a refusal names.
    QString text;
};

enum class LessonClash { None, Tutor, Group, Auditorium };

// `added` breaks the rule of the kind against `held` (the same date and lesson number).
bool breaks(LessonClash kind, const SlotLesson &held, const SlotLesson &added);
// The first rule, in the order tutor, group, auditorium, that `added` breaks against `held`;
// None when they can meet.
LessonClash clashBetween(const SlotLesson &held, const SlotLesson &added);

// The first lesson of `held` at the added lesson's number that `added` clashes with, checking
// the auditorium only when `auditoriums` is set; nullptr when none.
struct FoundClash
{
    LessonClash kind = LessonClash::None;
    const SlotLesson *with = nullptr;
};
FoundClash findClash(const std::vector<SlotLesson> &held, const SlotLesson &added,
                     bool auditoriums = true);

// "преподаватель занят: П-9 (1), Матем, Иванов", and so on for each kind.
QString clashText(const FoundClash &clash);

// Every lesson of the date (of the lesson numbers given, when any are), with its tutor and
// names, in lesson order and, within a lesson, in the order they were written. Throws DbError.
std::vector<SlotLesson> lessonsOfDate(const Database &db, const QDate &date,
                                      const std::vector<int> &onlyLessons = {});

// The pairs of lessons that break a rule on these dates: what undo and redo must not add to
// (another planner may have placed lessons where the step's were). Throws DbError.
int clashesOn(const Database &db, const std::vector<QDate> &dates);

} // namespace korvesta
