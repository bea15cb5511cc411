#pragma once

#include "icalfeed.h"
#include "publishmodel.h"

#include <QString>

#include <span>
#include <vector>

namespace korvesta {

// A lesson as the page and the calendar of one object tell it: what is taught, where, and by
// whom or to whom (a group's lesson names its tutor, a tutor's its groups, an auditorium's
// both).
struct LessonWords
{
    int lesson = 0;
    QString time;       // "8:30–9:15"; empty when the lesson number has no time
    QString discipline; // the full name where the document has one
    QString shortName;  // the short name
    QString type;       // "Лекция"
    QString shortType;  // "Лек"
    QString auditorium; // "101 (Главный)"; empty for none
    QString room;       // "101"
    QString tutor;
    QString groups;     // "П-9, П-10 (подгруппа 2)"
    QString subgroup;   // the group's own subgroup on its page: "подгруппа 2"
    // The class of the lesson's colour in the style sheet: "d12" for the discipline's on a
    // group's page, "g3" for the group's elsewhere; empty when not set.
    QString colourClass;
};

// The lesson on the page of an object of the kind (the lesson is one of the object's own).
LessonWords lessonWords(const PublishModel &model, PublishedKind kind, const ObjectLesson &lesson);

// The words of each of the object's lessons, in the order of its lessons: made once for its
// calendar and its pages.
std::vector<LessonWords> objectWords(const PublishModel &model, PublishedKind kind, size_t object);

// Two lessons a reader cannot tell apart but by their numbers.
bool sameLesson(const LessonWords &a, const LessonWords &b);

// A lesson that goes on unchanged at the next numbers (a pair), told once: its first lesson
// (an index into the day's lessons) and the number of its last. A break of more than 20
// minutes between two numbers (a lunch) keeps their lessons apart.
struct LessonRun
{
    size_t first = 0;
    int last = 0;
};
// The runs of one day's lessons, sorted by number; in the order of their first lessons.
std::vector<LessonRun> lessonRuns(const PublishModel &model, std::span<const LessonWords> day);

// The calendar event of the lesson, or of lessons lesson..last together, told in its words. Its UID names the object and the slot (date, lesson
// number, subgroup), not what is taught there, so that a lesson changed in place updates the
// event a calendar already shows; lessons first..last together take the first one's, and the
// others' are its `joined`. `feed` tells apart the publications of two institutions.
FeedEvent feedEvent(const PublishModel &model, PublishedKind kind, size_t object,
                    const ObjectLesson &lesson, const LessonWords &words, int last,
                    const QString &feed);

} // namespace korvesta
