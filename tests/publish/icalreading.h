#pragma once

#include <QString>
#include <QTimeZone>

#include <vector>

namespace korvesta {

// An event of a written calendar as libical's own parser reads it back.
struct ReadEvent
{
    QString uid;
    QString start; // "2026-10-19 08:30" in the zone asked for, from the UTC moment libical
                   // works out through the file's VTIMEZONE; "2026-10-28" for a day
    QString end;
    QString summary, location, description;
    bool cancelled = false;
    int sequence = 0;
};

// Every event of the file; fails the test when libical cannot read it.
std::vector<ReadEvent> readCalendar(const QString &path, const QTimeZone &zone);

} // namespace korvesta
