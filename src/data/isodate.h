#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QTime>
#include <QVariant>

namespace korvesta {

// ISO text of a date ('2007-03-14') and of a moment ('2007-03-14 10:30:00').
QString isoDateText(const QDate &date);
QString isoMomentText(const QDateTime &moment); // time part always written
QString isoMomentText(const QDate &date, const QTime &time);

// A date or moment read from text in any of the forms the program meets:
// 'yyyy-mm-dd', 'yyyy-mm-dd hh:mm[:ss]', 'yyyy-mm-ddThh:mm:ss', 'dd.mm.yyyy',
// 'dd.mm.yyyy hh:mm[:ss]', 'd.m.yyyy'. Returns an invalid QDateTime when the text is none of
// them. Called per row, so it reads the digits itself rather than through QDateTime::fromString.
QDateTime parseMoment(QStringView text);
// Same on UTF-8 bytes straight from SQLite.
QDateTime parseMoment(const char *utf8, int length);

// A date field read as a date, whether the engine gives it with a time of day or without.
QDate dateOf(const QVariant &value);

// Text of a date for the user: 'dd.mm.yyyy', with ' hh:mm:ss' only when the time is not
// midnight.
QString displayDateText(const QDateTime &moment);
QString displayDateText(const QDate &date, const QTime &time);

// The calendar date and time of day a text writes, read as parseMoment reads it but without
// passing through local time. The SQL date functions work on these: Jet's dates know no time
// zone, so a clock change must neither shift nor reject a stored moment.
struct MomentParts {
    QDate date;
    QTime time{0, 0};
    bool hasTime = false; // the text wrote a time of day
};
bool parseMomentParts(const char *utf8, int length, MomentParts &parts);

} // namespace korvesta
