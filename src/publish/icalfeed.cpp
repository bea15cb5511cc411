#include "icalfeed.h"

#include "previousfeed.h"

#include "text/printable.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <iterator>
#include <cstdio>

namespace korvesta {

namespace {

// Each unfolded line ("NAME...:VALUE\n") of `lines`, folded onto the end of `out`.
void appendLines(QByteArray &out, QByteArrayView lines)
{
    forEachContentLine(lines, [&out](QByteArrayView line) { appendFoldedIcalLine(out, line); });
}

// Appends the folded content line NAME:VALUE of a TEXT value; `line` is room for the line
// before it is folded.
void appendTextLine(QByteArray &out, QByteArrayView name, const QString &value, QByteArray &line)
{
    line.resize(0);
    line += name;
    line += ':';
    appendIcalText(line, value);
    appendFoldedIcalLine(out, line);
}

// Appends the value "20261019T083000": a time of day on a date, in the local time of a zone;
// the date alone when the time is invalid. Written digit by digit: a calendar has two of them
// per event.
void appendWallTime(QByteArray &out, const QDate &date, const QTime &time)
{
    char text[16];
    char *d = text;
    const auto digits = [&d](int n, int count) {
        for (int i = count - 1; i >= 0; --i, n /= 10)
            d[i] = char('0' + n % 10);
        d += count;
    };
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    digits(std::clamp(year, 0, 9999), 4);
    digits(month, 2);
    digits(day, 2);
    if (time.isValid()) {
        *d++ = 'T';
        digits(time.hour(), 2);
        digits(time.minute(), 2);
        digits(time.second(), 2);
    }
    out.append(text, d - text);
}

QByteArray wallTime(const QDate &date, const QTime &time)
{
    QByteArray text;
    appendWallTime(text, date, time);
    return text;
}

QByteArray utcStamp(const QDateTime &moment)
{
    const QDateTime utc = moment.toUTC();
    return wallTime(utc.date(), utc.time()) + 'Z';
}

// "+0300", "-0330", "+053045" for seconds east of UTC.
QByteArray utcOffset(int seconds)
{
    const char sign = seconds < 0 ? '-' : '+';
    seconds = std::abs(seconds);
    char text[16];
    const int n = seconds % 60 != 0
                      ? std::snprintf(text, sizeof text, "%c%02d%02d%02d", sign, seconds / 3600,
                                      seconds / 60 % 60, seconds % 60)
                      : std::snprintf(text, sizeof text, "%c%02d%02d", sign, seconds / 3600,
                                      seconds / 60 % 60);
    return QByteArray(text, n);
}

// A TZID as a parameter value: quoted when it holds a character that would end it.
QByteArray tzidParameter(const QByteArray &tzid)
{
    const bool plain = !tzid.contains(':') && !tzid.contains(';') && !tzid.contains(',');
    return plain ? tzid : '"' + QByteArray(tzid).replace('"', "") + '"';
}

// The VTIMEZONE of the zone over the period, so that the file needs no time-zone database of
// its reader.
void appendTimezone(QByteArray &out, const FeedZone &zone)
{
    out += "BEGIN:VTIMEZONE\r\n";
    appendFoldedIcalLine(out, "TZID:" + zone.id);
    for (const FeedZone::Observance &o : zone.observances) {
        const char *kind = o.daylight ? "DAYLIGHT" : "STANDARD";
        out += "BEGIN:";
        out += kind;
        out += "\r\nDTSTART:" + wallTime(o.date, o.time) + "\r\n";
        out += "TZOFFSETFROM:" + utcOffset(o.offsetFrom) + "\r\n";
        out += "TZOFFSETTO:" + utcOffset(o.offsetTo) + "\r\n";
        if (!o.name.isEmpty())
            appendFoldedIcalLine(out, "TZNAME:" + icalTextValue(QString::fromUtf8(o.name)));
        out += "END:";
        out += kind;
        out += "\r\n";
    }
    out += "END:VTIMEZONE\r\n";
}

// Appends the content lines of an event between its UID and its DTSTAMP, folded.
void appendEventLines(QByteArray &out, const FeedEvent &e, const QByteArray &tzid,
                      QByteArray &line)
{
    if (e.start.isValid()) {
        const auto timeLine = [&](const char *name, const QTime &time) {
            // Kept room: assigning a shorter text would take new memory.
            line.resize(0);
            line += name;
            line += ";TZID=";
            line += tzid;
            line += ':';
            appendWallTime(line, e.date, time);
            appendFoldedIcalLine(out, line);
        };
        timeLine("DTSTART", e.start);
        if (e.end.isValid())
            timeLine("DTEND", e.end);
    } else {
        out += "DTSTART;VALUE=DATE:";
        appendWallTime(out, e.date, QTime());
        out += "\r\nDTEND;VALUE=DATE:";
        appendWallTime(out, e.date.addDays(1), QTime());
        // A day-long event must not make the whole day look busy.
        out += "\r\nTRANSP:TRANSPARENT\r\n";
    }
    appendTextLine(out, "SUMMARY", e.summary, line);
    if (!e.location.isEmpty())
        appendTextLine(out, "LOCATION", e.location, line);
    if (!e.description.isEmpty())
        appendTextLine(out, "DESCRIPTION", e.description, line);
    // No STATUS: an event is confirmed unless it says otherwise.
}

// What a reader sees of an event, to tell whether it changed: its times, texts and status,
// from its content lines, folded or not.
QByteArray signature(QByteArrayView text)
{
    static const char *const shown[] = {"DTSTART", "DTEND", "SUMMARY", "LOCATION",
                                        "DESCRIPTION", "STATUS"};
    const QByteArray lines = unfoldedIcalText(text);
    std::array<QByteArrayView, std::size(shown)> found{}; // the first line of each
    forEachContentLine(lines, [&found](QByteArrayView line) {
        const QByteArrayView name = contentLineName(line);
        for (size_t i = 0; i < found.size(); ++i) {
            if (found[i].isNull() && name.compare(QByteArrayView(shown[i]), Qt::CaseInsensitive) == 0)
                found[i] = line;
        }
    });
    QByteArray sig;
    for (const QByteArrayView line : found) {
        sig += line;
        sig += '\x1f';
    }
    return sig;
}

// Appends the lines of an event with its STATUS put to CANCELLED.
void appendCancelledLines(QByteArray &out, QByteArrayView lines)
{
    forEachContentLine(lines, [&out](QByteArrayView line) {
        if (contentLineName(line).compare("STATUS", Qt::CaseInsensitive) != 0) {
            out += line;
            out += '\n';
        }
    });
    out += "STATUS:CANCELLED\n";
}

// The observance of an offset that begins at `atUtc`, after `offsetBefore`.
FeedZone::Observance observanceOf(const QTimeZone::OffsetData &data, int offsetBefore)
{
    FeedZone::Observance o;
    // The onset is written in the local time that held before it.
    const QDateTime before = data.atUtc.toUTC().addSecs(offsetBefore);
    o.date = before.date();
    o.time = before.time();
    o.offsetFrom = offsetBefore;
    o.offsetTo = data.offsetFromUtc;
    o.daylight = data.daylightTimeOffset != 0;
    o.name = data.abbreviation.toUtf8();
    return o;
}

} // namespace

FeedZone feedZone(const QTimeZone &given, const QDate &from, const QDate &to)
{
    const QTimeZone zone = given.isValid() ? given : QTimeZone(QTimeZone::utc());
    FeedZone rules;
    rules.id = zone.id();
    const QDateTime start = from.startOfDay(zone);
    const QDateTime end = to.addDays(1).startOfDay(zone);
    const QTimeZone::OffsetData first = zone.previousTransition(start.addSecs(1));
    if (first.atUtc.isValid()) {
        rules.observances.push_back(
            observanceOf(first, zone.offsetFromUtc(first.atUtc.addSecs(-1))));
    } else {
        // A zone that has never changed its clock.
        QTimeZone::OffsetData always;
        always.atUtc = QDateTime(QDate(1970, 1, 1), QTime(0, 0), QTimeZone::utc());
        always.offsetFromUtc = zone.offsetFromUtc(start);
        always.daylightTimeOffset = 0;
        always.abbreviation = zone.abbreviation(start);
        rules.observances.push_back(observanceOf(always, always.offsetFromUtc));
    }
    for (const QTimeZone::OffsetData &change : zone.transitions(start, end)) {
        if (change.atUtc == first.atUtc)
            continue;
        rules.observances.push_back(
            observanceOf(change, zone.offsetFromUtc(change.atUtc.addSecs(-1))));
    }
    return rules;
}

QByteArray writeFeed(const FeedSettings &settings, const std::vector<FeedEvent> &events,
                     const QByteArray &previous, FeedChanges *changes)
{
    QByteArray text;
    writeFeed(settings, events, previous, text, changes);
    return text;
}

void writeFeed(const FeedSettings &settings, const std::vector<FeedEvent> &events,
               const QByteArray &previous, QByteArray &out, FeedChanges *changes)
{
    FeedChanges count;
    const PreviousFeed old(previous);
    const std::shared_ptr<const FeedZone> rules =
        settings.rules ? settings.rules
                       : std::make_shared<const FeedZone>(
                           feedZone(settings.zone, settings.from, settings.to));
    const QByteArray tzid = tzidParameter(rules->id);
    const QByteArray now = utcStamp(settings.now);

    // Each event's lines from its UID to its STATUS, folded as written, one after the other
    // in `body`; sorted by date and UID.
    struct Placed
    {
        QDate date;
        QByteArray uid;
        qsizetype begin = 0, end = 0; // in body
        QByteArray stamp;
        int sequence = 0;
    };
    thread_local QByteArray body, line, cancelled;
    body.resize(0);
    body.reserve(qsizetype(events.size()) * 400 + previous.size());
    const auto linesOf = [](const Placed &p) {
        return QByteArrayView(body).sliced(p.begin, p.end - p.begin);
    };
    std::vector<Placed> placed;
    placed.reserve(events.size() + old.events.size());
    QSet<QByteArray> present, joined;
    present.reserve(old.events.empty() ? 0 : qsizetype(events.size()));
    for (const FeedEvent &e : events) {
        line.resize(0);
        line += "UID:";
        appendIcalText(line, e.uid);
        Placed p{e.date, line.sliced(4), body.size(), 0, now, 0};
        appendFoldedIcalLine(body, line);
        appendEventLines(body, e, tzid, line);
        p.end = body.size();
        if (!old.events.empty()) {
            present.insert(p.uid);
            for (const QString &uid : e.joined) {
                line.resize(0);
                appendIcalText(line, uid);
                joined.insert(line);
            }
        }
        if (const PreviousEvent *before = old.events.empty() ? nullptr : old.find(p.uid)) {
            if (signature(before->lines) == signature(linesOf(p)) && !before->dtstamp.isEmpty()) {
                p.stamp = before->dtstamp;
                p.sequence = before->sequence;
            } else {
                p.sequence = before->sequence + 1;
                ++count.changed;
            }
        } else {
            ++count.added;
        }
        placed.push_back(std::move(p));
    }

    // What was published and is not there now.
    QSet<QByteArray> otherZones;
    for (const PreviousEvent &before : old.events) {
        if (present.contains(before.uid))
            continue;
        const bool outside = !settings.gone && before.date.isValid()
                             && (before.date < settings.from || before.date > settings.to);
        if (before.cancelled && !outside)
            continue; // told once already
        Placed p{before.date, before.uid, body.size(), 0,
                 before.dtstamp.isEmpty() ? now : before.dtstamp, before.sequence};
        appendFoldedIcalLine(body, "UID:" + before.uid);
        if (outside) {
            appendLines(body, before.lines);
        } else {
            cancelled.resize(0);
            appendCancelledLines(cancelled, before.lines);
            appendLines(body, cancelled);
            p.stamp = now;
            ++p.sequence;
            ++(joined.contains(before.uid) ? count.joined : count.cancelled);
        }
        p.end = body.size();
        if (!before.tzid.isEmpty() && before.tzid != rules->id)
            otherZones.insert(before.tzid);
        placed.push_back(std::move(p));
    }
    std::sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) {
        return a.date != b.date ? a.date < b.date : a.uid < b.uid;
    });
    if (changes)
        *changes = count;

    out.resize(0);
    out.reserve(body.size() + qsizetype(placed.size()) * 120 + 4096);
    out += "BEGIN:VCALENDAR\r\n";
    appendFoldedIcalLine(out, "X-WR-CALNAME:" + icalTextValue(settings.name));
    out += "PRODID:-//Korvesta//Korvesta//RU\r\nVERSION:2.0\r\nCALSCALE:GREGORIAN\r\n"
           "METHOD:PUBLISH\r\n";
    appendFoldedIcalLine(out, "X-WR-TIMEZONE:" + icalTextValue(QString::fromUtf8(rules->id)));
    appendTimezone(out, *rules);
    // Events kept from a publication under another clock still need their zone.
    for (const QByteArray &other : std::as_const(otherZones)) {
        const auto zone = old.zones.constFind(other);
        if (zone != old.zones.constEnd())
            appendLines(out, *zone);
    }
    for (const Placed &p : placed) {
        out += "BEGIN:VEVENT\r\n";
        out += linesOf(p);
        line.resize(0);
        line += "DTSTAMP:";
        line += p.stamp;
        appendFoldedIcalLine(out, line);
        // A SEQUENCE of 0 goes without saying.
        if (p.sequence != 0) {
            out += "SEQUENCE:";
            out += QByteArray::number(p.sequence);
            out += "\r\n";
        }
        out += "END:VEVENT\r\n";
    }
    out += "END:VCALENDAR\r\n";
}

} // namespace korvesta
