#pragma once

#include "publishmodel.h"

#include <QString>

namespace korvesta {

// The static web timetable: an index of every group, tutor and auditorium, and a page per
// object with its weeks, the current one first. Plain HTML with its style inside (no script,
// nothing fetched from elsewhere), readable on a phone and printable.

// The folder of an object's files under the publication ("groups", "tutors", "auditoriums").
QString kindFolder(PublishedKind kind);

// Where a page says when it was published; the publisher puts the date there, so that a page
// whose timetable has not changed keeps the date of its last change and is not rewritten.
extern const QString kPublishedMark;

// The page of object number `object` of the kind; `today` decides the current week.
QString objectPage(const PublishModel &model, PublishedKind kind, size_t object, const QDate &today);
QString indexPage(const PublishModel &model);

} // namespace korvesta
