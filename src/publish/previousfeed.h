#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QHash>

#include <vector>

namespace korvesta {

// A calendar published before, read back as far as it can be: its events by UID and its time
// zones. The file is the program's own, so no full iCalendar parser is needed; whatever
// cannot be read (an event without UID, a line without a colon, a file that is no calendar)
// is left out, and a later event of a UID already seen is ignored.

struct PreviousEvent
{
    QByteArray uid;
    QDate date;         // of DTSTART; invalid when it cannot be read
    QByteArray tzid;    // the TZID of DTSTART; empty for a day or a UTC time
    QByteArray dtstamp; // the value as written
    int sequence = 0;
    bool cancelled = false;
    // The event's other content lines (all but UID, DTSTAMP and SEQUENCE, those of a nested
    // component included), unfolded, each ending in '\n', in the file's order.
    QByteArray lines;
};

struct PreviousFeed
{
    explicit PreviousFeed(QByteArrayView text);

    const PreviousEvent *find(const QByteArray &uid) const;

    std::vector<PreviousEvent> events; // in the file's order
    QHash<QByteArray, size_t> byUid;
    QHash<QByteArray, QByteArray> zones; // a VTIMEZONE's lines, unfolded, by its TZID
};

// Calls `use` with each line of unfolded text ("NAME...:VALUE\n" after one another), without
// its line break.
template<typename Use>
void forEachContentLine(QByteArrayView text, Use &&use)
{
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        use(text.sliced(start, end - start));
        start = end + 1;
    }
}

// The name of a content line, "DTSTART" of "DTSTART;TZID=Europe/Moscow:20261019T083000".
QByteArrayView contentLineName(QByteArrayView line);
// Its value: what follows the first colon outside a quoted parameter value.
QByteArrayView contentLineValue(QByteArrayView line);

} // namespace korvesta
