#pragma once

#include "lessonwords.h"
#include "publishmodel.h"

#include <QDate>
#include <QString>

#include <vector>

namespace korvesta {

// The static web timetable: an index of every group, tutor and auditorium; for each object a
// front page with its current week and the next, and a page per month of the period with its
// lessons. Plain HTML (no script, nothing fetched from elsewhere), readable on a phone and
// printable; the pages share one style sheet beside the index, which also holds the colours of
// the disciplines and groups as classes, so that a new colour rewrites the style sheet alone. A
// month page changes only when its lessons do, so that publishing
// again writes the months that changed and the small front pages.

// The folder of an object's files under the publication ("groups", "tutors", "auditoriums").
QString kindFolder(PublishedKind kind);

// Where a page says when it was published; the publisher puts the date there, so that a page
// whose timetable has not changed keeps the date of its last change and is not rewritten.
extern const QString kPublishedMark;

// The style sheet all pages link to, in the folder of the index, with the model's colours.
extern const QString kStyleSheetFile;
QString styleSheet(const PublishModel &model);

// The months of an object's pages: the first day of each month with a lesson of it, in order.
std::vector<QDate> pageMonths(const PublishModel &model, PublishedKind kind, size_t object);
// The Mondays of the weeks on its front page: the current week when `today` lies in the
// period, and the weeks to come with lessons, two weeks in all.
std::vector<QDate> frontWeeks(const PublishModel &model, PublishedKind kind, size_t object,
                              const QDate &today);
// Where a month's page lies in the kind's folder: "2026-09/П-9_(1).html".
QString monthPagePath(const PublishedObject &object, const QDate &month);

// What the pages of object number `object` of the kind are made of: its lessons' words
// (objectWords()) and its months (pageMonths()).
struct PageSource
{
    const PublishModel &model;
    PublishedKind kind;
    size_t object;
    const std::vector<LessonWords> &words;
    const std::vector<QDate> &months;
};

// The object's front page, into `html` (whose room is kept for the next page).
void writeObjectPage(const PageSource &source, const QDate &today, QString &html);
// The page of one of its months.
void writeMonthPage(const PageSource &source, const QDate &month, QString &html);
QString indexPage(const PublishModel &model);

} // namespace korvesta
