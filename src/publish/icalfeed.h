#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QTimeZone>

#include <memory>
#include <vector>

namespace korvesta {

// The iCalendar file (RFC 5545) of one object, written as text. A calendar client that
// subscribes to it follows its events by UID: an event keeps its UID, DTSTAMP and SEQUENCE
// while it stays as it was, takes a higher SEQUENCE when it changes, and an event that is no
// longer there comes once more with STATUS:CANCELLED, so that the client takes it away.

struct FeedEvent
{
    QString uid;
    QDate date;
    QTime start, end; // local times of the zone; an invalid start makes an all-day event
    QString summary, location, description;
    // The UIDs of the lessons it tells together with its own (a pair): an event published
    // under one of them before is taken back as part of this one, not as a lesson gone.
    QStringList joined;
};

// The clock of a publication over its period, read from the time-zone database once: the
// observance in force when the period begins and each change within it. Plain values, so
// that calendars made at the same time on several threads share it.
struct FeedZone
{
    struct Observance
    {
        QDate date;          // the onset in the local time that held before it
        QTime time;
        int offsetFrom = 0;  // seconds east of UTC before and after the onset
        int offsetTo = 0;
        bool daylight = false;
        QByteArray name;     // "CEST"; may be empty
    };

    QByteArray id; // TZID
    std::vector<Observance> observances;
};

// The zone (UTC when invalid) over the period from..to.
FeedZone feedZone(const QTimeZone &zone, const QDate &from, const QDate &to);

struct FeedSettings
{
    QString name;      // X-WR-CALNAME: "Расписание: П-9 (1 курс)"
    QTimeZone zone;    // the clock of the times; its VTIMEZONE goes into the file
    // The zone's rules over the period when already read (see feedZone); read from `zone`
    // when not given.
    std::shared_ptr<const FeedZone> rules;
    QDate from, to;    // the period published: earlier events outside it are left as they were
    QDateTime now;     // DTSTAMP of what changes
    bool gone = false; // the object is no more: every event it had is cancelled
};

struct FeedChanges
{
    int added = 0, changed = 0, cancelled = 0;
    int joined = 0; // events taken back because another tells their lesson now
};

// The file for the events (sorted by date, then UID), given what was published last time
// (`previous`, possibly empty or unreadable, in which case everything counts as new).
// Calendars may be written on several threads at once.
QByteArray writeFeed(const FeedSettings &settings, const std::vector<FeedEvent> &events,
                     const QByteArray &previous, FeedChanges *changes = nullptr);
// The same into `text`, whose room is kept for the next file.
void writeFeed(const FeedSettings &settings, const std::vector<FeedEvent> &events,
               const QByteArray &previous, QByteArray &text, FeedChanges *changes = nullptr);

} // namespace korvesta
