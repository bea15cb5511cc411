#pragma once

#include "publishmodel.h"

#include <QString>

namespace korvesta {

// The static web timetable: an index of every group, tutor and auditorium, and a page per
// object with its weeks, the current one first. Plain HTML (no script, nothing fetched from
// elsewhere), readable on a phone and printable; the pages share one style sheet beside the
// index, and a page's lesson colours are rules in its own head.

// The folder of an object's files under the publication ("groups", "tutors", "auditoriums").
QString kindFolder(PublishedKind kind);

// Where a page says when it was published; the publisher puts the date there, so that a page
// whose timetable has not changed keeps the date of its last change and is not rewritten.
extern const QString kPublishedMark;

// The style sheet all pages link to, in the folder of the index.
extern const QString kStyleSheetFile;
QString styleSheet();

// The page of object number `object` of the kind; `today` decides the current week.
QString objectPage(const PublishModel &model, PublishedKind kind, size_t object, const QDate &today);
// The same into `html`, whose room is kept for the next page.
void writeObjectPage(const PublishModel &model, PublishedKind kind, size_t object,
                     const QDate &today, QString &html);
QString indexPage(const PublishModel &model);

} // namespace korvesta
