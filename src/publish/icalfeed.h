#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QTimeZone>

#include <vector>

namespace korvesta {

// The iCalendar file (RFC 5545) of one object, written with libical. A calendar client that
// subscribes to it follows its events by UID: an event keeps its UID, DTSTAMP and SEQUENCE
// while it stays as it was, takes a higher SEQUENCE when it changes, and an event that is no
// longer there comes once more with STATUS:CANCELLED, so that the client takes it away.

struct FeedEvent
{
    QString uid;
    QDate date;
    QTime start, end; // local times of the zone; an invalid start makes an all-day event
    QString summary, location, description;
};

struct FeedSettings
{
    QString name;      // X-WR-CALNAME: "Расписание: П-9 (1 курс)"
    QTimeZone zone;    // the clock of the times; its VTIMEZONE goes into the file
    QDate from, to;    // the period published: earlier events outside it are left as they were
    QDateTime now;     // DTSTAMP of what changes
    bool gone = false; // the object is no more: every event it had is cancelled
};

struct FeedChanges
{
    int added = 0, changed = 0, cancelled = 0;
};

// The file for the events (sorted by date, then UID), given what was published last time
// (`previous`, possibly empty or unreadable, in which case everything counts as new).
QByteArray writeFeed(const FeedSettings &settings, const std::vector<FeedEvent> &events,
                     const QByteArray &previous, FeedChanges *changes = nullptr);

} // namespace korvesta
