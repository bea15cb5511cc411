#pragma once

#include "lessonplacer.h"

#include <QDate>

#include <optional>
#include <vector>

namespace korvesta {

class AuditoriumLabels;
class Database;
struct ViewContext;

// A lesson of the timetable views with its date and the keys of its group and tutor.
struct DatedLesson
{
    QDate date;
    int keyGroup = 0;
    int keyTutor = 0;
    PlacedLesson lesson;
};

// How the lessons of a date follow one another: as qryTimeTable gives them (by group: course,
// length of the name, name, faculty, group key, then lesson, subgroup and key) or as
// qryTimeTableWork does (by tutor: name and key, lesson, then the group's order, subgroup
// and key).
enum class LessonOrder { ByGroup, ByTutor };

// Which lessons to read: those of a run of dates, narrowed to some groups, tutors or lesson
// numbers (none named: all of them).
struct LessonSelection
{
    QDate first;
    QDate last;
    std::vector<int> groups;
    std::vector<int> tutors;
    std::vector<int> lessons;
};

// The lessons the timetable views show, the same rows in the same order as the views' saved
// queries give them date by date, but read in one statement of keys for the whole run of
// dates: the names, colours and order of the groups, tutors, disciplines and auditoriums are
// read once and shared by every lesson that shows them. A document whose saved query is not
// the one the program gives every document (a planner's own) has that query run date by
// date instead. Throws DbError (ItemNotFound: the query lacks a field the views read).
std::vector<DatedLesson> readTimetableLessons(const Database &db, const LessonSelection &selection,
                                              LessonOrder order, const AuditoriumLabels *labels);

// The same for a view's fill: a document that cannot be read is told to the user, and
// nothing is returned.
std::optional<std::vector<DatedLesson>> readTimetableLessons(ViewContext &ctx,
                                                             const LessonSelection &selection,
                                                             LessonOrder order,
                                                             const AuditoriumLabels *labels);

} // namespace korvesta
