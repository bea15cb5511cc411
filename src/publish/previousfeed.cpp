#include "previousfeed.h"

#include "text/printable.h"

#include <algorithm>

namespace korvesta {

namespace {

bool named(QByteArrayView line, const char *name)
{
    return contentLineName(line).compare(QByteArrayView(name), Qt::CaseInsensitive) == 0;
}

// "BEGIN:VEVENT" gives "VEVENT" for begin.
bool isBoundary(QByteArrayView line, const char *which, QByteArrayView &component)
{
    if (!named(line, which))
        return false;
    component = contentLineValue(line).trimmed();
    return true;
}

// The value of a parameter of the line: TZID of "DTSTART;TZID=Europe/Moscow:...".
QByteArray parameter(QByteArrayView line, const char *name)
{
    QByteArrayView head = line.first(line.size() - contentLineValue(line).size());
    if (head.endsWith(':'))
        head.chop(1);
    for (qsizetype at = head.indexOf(';'); at >= 0;) {
        const qsizetype next = head.indexOf(';', at + 1);
        const QByteArrayView part = head.sliced(at + 1, (next < 0 ? head.size() : next) - at - 1);
        at = next;
        const qsizetype equals = part.indexOf('=');
        if (equals <= 0 || part.first(equals).compare(QByteArrayView(name), Qt::CaseInsensitive) != 0)
            continue;
        QByteArrayView value = part.sliced(equals + 1);
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.sliced(1, value.size() - 2);
        return value.toByteArray();
    }
    return QByteArray();
}

QDate dateValue(QByteArrayView value)
{
    if (value.size() < 8)
        return QDate();
    bool ok = false;
    const int yyyymmdd = value.first(8).toInt(&ok);
    return ok ? QDate(yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100) : QDate();
}

} // namespace

QByteArrayView contentLineName(QByteArrayView line)
{
    qsizetype end = 0;
    while (end < line.size() && line[end] != ';' && line[end] != ':')
        ++end;
    return line.first(end);
}

QByteArrayView contentLineValue(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return line.sliced(i + 1);
    }
    return QByteArrayView();
}

PreviousFeed::PreviousFeed(QByteArrayView text)
{
    if (text.isEmpty())
        return;
    const QByteArray all = unfoldedIcalText(text);
    PreviousEvent event;
    int eventDepth = 0; // components open within the event being read, itself included
    int zoneDepth = 0;
    QByteArray zone, zoneId;
    bool calendar = false;
    forEachContentLine(all, [&](QByteArrayView line) {
        if (line.trimmed().isEmpty())
            return;
        QByteArrayView component;
        if (!calendar) {
            // Anything before the calendar begins is no part of it.
            calendar = isBoundary(line, "BEGIN", component) && component == "VCALENDAR";
            return;
        }
        if (zoneDepth > 0) {
            zone += line;
            zone += '\n';
            if (isBoundary(line, "BEGIN", component))
                ++zoneDepth;
            else if (isBoundary(line, "END", component))
                --zoneDepth;
            else if (zoneDepth == 1 && named(line, "TZID"))
                zoneId = contentLineValue(line).toByteArray();
            if (zoneDepth == 0 && !zoneId.isEmpty() && !zones.contains(zoneId))
                zones.insert(zoneId, zone);
            return;
        }
        if (eventDepth == 0) {
            if (isBoundary(line, "BEGIN", component)) {
                if (component.compare("VEVENT", Qt::CaseInsensitive) == 0) {
                    event = PreviousEvent();
                    eventDepth = 1;
                } else if (component.compare("VTIMEZONE", Qt::CaseInsensitive) == 0) {
                    zone = line.toByteArray() + '\n';
                    zoneId.clear();
                    zoneDepth = 1;
                }
            }
            return;
        }
        if (isBoundary(line, "END", component) && --eventDepth == 0) {
            if (!event.uid.isEmpty() && !byUid.contains(event.uid)) {
                byUid.insert(event.uid, events.size());
                events.push_back(std::move(event));
            }
            return;
        }
        if (isBoundary(line, "BEGIN", component))
            ++eventDepth;
        if (eventDepth == 1 && named(line, "UID")) {
            event.uid = contentLineValue(line).toByteArray();
            return;
        }
        if (eventDepth == 1 && named(line, "DTSTAMP")) {
            event.dtstamp = contentLineValue(line).toByteArray();
            return;
        }
        if (eventDepth == 1 && named(line, "SEQUENCE")) {
            bool ok = false;
            const int n = contentLineValue(line).trimmed().toInt(&ok);
            event.sequence = ok && n > 0 ? std::min(n, 1000000000) : 0;
            return;
        }
        if (eventDepth == 1 && named(line, "DTSTART")) {
            event.date = dateValue(contentLineValue(line));
            event.tzid = parameter(line, "TZID");
        } else if (eventDepth == 1 && named(line, "STATUS")) {
            event.cancelled =
                contentLineValue(line).trimmed().compare("CANCELLED", Qt::CaseInsensitive) == 0;
        }
        event.lines += line;
        event.lines += '\n';
    });
}

const PreviousEvent *PreviousFeed::find(const QByteArray &uid) const
{
    const auto it = byUid.constFind(uid);
    return it == byUid.constEnd() ? nullptr : &events[*it];
}

} // namespace korvesta
