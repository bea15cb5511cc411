#include "icalfeed.h"

#include "text/printable.h"

#include <libical/ical.h>

#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <memory>

namespace korvesta {

namespace {

struct ComponentFree
{
    void operator()(icalcomponent *c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

struct BufferFree
{
    void operator()(char *text) const { icalmemory_free_buffer(text); }
};
using Buffer = std::unique_ptr<char, BufferFree>;

QByteArray utf8(const QString &text)
{
    return printableText(text).toUtf8();
}

icaltimetype wallTime(const QDate &date, const QTime &time)
{
    icaltimetype t = icaltime_null_time();
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    t.is_date = 0;
    return t;
}

icaltimetype dayOnly(const QDate &date)
{
    icaltimetype t = icaltime_null_date();
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    return t;
}

icaltimetype utcTime(const QDateTime &moment)
{
    return icaltime_from_timet_with_zone(time_t(moment.toSecsSinceEpoch()), 0,
                                         icaltimezone_get_utc_timezone());
}

void addText(icalcomponent *c, icalproperty *p)
{
    icalcomponent_add_property(c, p);
}

void addX(icalcomponent *c, const char *name, const QString &value)
{
    icalproperty *p = icalproperty_new_x(utf8(value).constData());
    icalproperty_set_x_name(p, name);
    icalcomponent_add_property(c, p);
}

icalcomponent *observance(const FeedZone::Observance &o)
{
    icalcomponent *c = icalcomponent_new(o.daylight ? ICAL_XDAYLIGHT_COMPONENT
                                                    : ICAL_XSTANDARD_COMPONENT);
    icalcomponent_add_property(c, icalproperty_new_dtstart(wallTime(o.date, o.time)));
    icalcomponent_add_property(c, icalproperty_new_tzoffsetfrom(o.offsetFrom));
    icalcomponent_add_property(c, icalproperty_new_tzoffsetto(o.offsetTo));
    if (!o.name.isEmpty())
        icalcomponent_add_property(c, icalproperty_new_tzname(o.name.constData()));
    return c;
}

// The VTIMEZONE of the zone over the period, so that the file needs no time-zone database of
// its reader.
icalcomponent *timezoneComponent(const FeedZone &zone)
{
    icalcomponent *tz = icalcomponent_new(ICAL_VTIMEZONE_COMPONENT);
    icalcomponent_add_property(tz, icalproperty_new_tzid(zone.id.constData()));
    for (const FeedZone::Observance &o : zone.observances)
        icalcomponent_add_component(tz, observance(o));
    return tz;
}

icalcomponent *eventComponent(const FeedEvent &e, const QByteArray &tzid)
{
    icalcomponent *ev = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    icalcomponent_add_property(ev, icalproperty_new_uid(utf8(e.uid).constData()));
    if (e.start.isValid()) {
        icalproperty *start = icalproperty_new_dtstart(wallTime(e.date, e.start));
        icalproperty_add_parameter(start, icalparameter_new_tzid(tzid.constData()));
        icalcomponent_add_property(ev, start);
        if (e.end.isValid()) {
            icalproperty *end = icalproperty_new_dtend(wallTime(e.date, e.end));
            icalproperty_add_parameter(end, icalparameter_new_tzid(tzid.constData()));
            icalcomponent_add_property(ev, end);
        }
    } else {
        icalcomponent_add_property(ev, icalproperty_new_dtstart(dayOnly(e.date)));
        icalcomponent_add_property(ev, icalproperty_new_dtend(dayOnly(e.date.addDays(1))));
        // A day-long event must not make the whole day look busy.
        icalcomponent_add_property(ev, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    }
    addText(ev, icalproperty_new_summary(utf8(e.summary).constData()));
    if (!e.location.isEmpty())
        addText(ev, icalproperty_new_location(utf8(e.location).constData()));
    if (!e.description.isEmpty())
        addText(ev, icalproperty_new_description(utf8(e.description).constData()));
    icalcomponent_set_status(ev, ICAL_STATUS_CONFIRMED);
    return ev;
}

// What a reader sees of an event, to tell whether it changed.
QByteArray signature(icalcomponent *ev)
{
    QByteArray sig;
    for (const icalproperty_kind kind : {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY,
                                         ICAL_SUMMARY_PROPERTY, ICAL_LOCATION_PROPERTY,
                                         ICAL_DESCRIPTION_PROPERTY, ICAL_STATUS_PROPERTY}) {
        if (icalproperty *p = icalcomponent_get_first_property(ev, kind)) {
            const Buffer value(icalproperty_get_value_as_string_r(p));
            if (value)
                sig += value.get();
            if (icalparameter *tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER))
                sig += QByteArray("\x1e") + icalparameter_get_tzid(tzid);
        }
        sig += '\x1f';
    }
    return sig;
}

QByteArray tzidOf(icalcomponent *ev)
{
    icalproperty *p = icalcomponent_get_first_property(ev, ICAL_DTSTART_PROPERTY);
    icalparameter *tzid = p ? icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER) : nullptr;
    return tzid ? QByteArray(icalparameter_get_tzid(tzid)) : QByteArray();
}

QDate dateOf(icalcomponent *ev)
{
    icalproperty *p = icalcomponent_get_first_property(ev, ICAL_DTSTART_PROPERTY);
    if (!p)
        return QDate();
    const icaltimetype t = icalproperty_get_dtstart(p);
    return QDate(t.year, t.month, t.day);
}

// The file published last time, as far as it can be read.
struct Previous
{
    explicit Previous(const QByteArray &text)
    {
        if (text.isEmpty())
            return;
        root.reset(icalparser_parse_string(text.constData()));
        if (!root)
            return;
        collect(root.get());
    }

    void collect(icalcomponent *c)
    {
        switch (icalcomponent_isa(c)) {
        case ICAL_VEVENT_COMPONENT:
            if (const char *uid = icalcomponent_get_uid(c)) {
                if (!events.contains(QByteArray(uid)))
                    order.push_back(c);
                events.insert(QByteArray(uid), c);
            }
            return;
        case ICAL_VTIMEZONE_COMPONENT:
            if (icalproperty *p = icalcomponent_get_first_property(c, ICAL_TZID_PROPERTY))
                zones.insert(QByteArray(icalproperty_get_tzid(p)), c);
            return;
        default:
            break;
        }
        for (icalcomponent *sub = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); sub;
             sub = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
            collect(sub);
    }

    Component root;
    QHash<QByteArray, icalcomponent *> events; // by UID; owned by root
    std::vector<icalcomponent *> order;
    QHash<QByteArray, icalcomponent *> zones;
};

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

void prepareFeedWriting()
{
    icaltimezone_get_utc_timezone();
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
    Previous old(previous);
    const std::shared_ptr<const FeedZone> rules =
        settings.rules ? settings.rules
                       : std::make_shared<const FeedZone>(
                           feedZone(settings.zone, settings.from, settings.to));
    const QByteArray tzid = rules->id;
    const icaltimetype now = utcTime(settings.now);

    Component cal(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(cal.get(), icalproperty_new_prodid("-//Korvesta//Korvesta//RU"));
    icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal.get(), icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_property(cal.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));
    addX(cal.get(), "X-WR-TIMEZONE", QString::fromUtf8(tzid));
    icalcomponent_add_component(cal.get(), timezoneComponent(*rules));

    struct Placed
    {
        QDate date;
        QByteArray uid;
        icalcomponent *event;
    };
    std::vector<Placed> placed;
    placed.reserve(events.size() + old.order.size());
    QSet<QByteArray> present;
    present.reserve(qsizetype(events.size()));
    for (const FeedEvent &e : events) {
        const QByteArray uid = utf8(e.uid);
        present.insert(uid);
        icalcomponent *ev = eventComponent(e, tzid);
        icalcomponent *before = old.events.value(uid);
        if (!before) {
            icalcomponent_set_dtstamp(ev, now);
            icalcomponent_set_sequence(ev, 0);
            ++count.added;
        } else if (signature(before) == signature(ev)) {
            icalcomponent_set_dtstamp(ev, icalcomponent_get_dtstamp(before));
            icalcomponent_set_sequence(ev, icalcomponent_get_sequence(before));
        } else {
            icalcomponent_set_dtstamp(ev, now);
            icalcomponent_set_sequence(ev, std::max(0, icalcomponent_get_sequence(before)) + 1);
            ++count.changed;
        }
        placed.push_back({e.date, uid, ev});
    }

    // What was published and is not there now.
    QSet<QByteArray> otherZones;
    for (icalcomponent *before : old.order) {
        const QByteArray uid(icalcomponent_get_uid(before));
        if (present.contains(uid))
            continue;
        const QDate date = dateOf(before);
        const bool cancelled = icalcomponent_get_status(before) == ICAL_STATUS_CANCELLED;
        const bool outside = !settings.gone && date.isValid()
                             && (date < settings.from || date > settings.to);
        if (cancelled && !outside)
            continue; // told once already
        icalcomponent *ev = icalcomponent_new_clone(before);
        if (!outside) {
            icalcomponent_set_status(ev, ICAL_STATUS_CANCELLED);
            icalcomponent_set_sequence(ev, std::max(0, icalcomponent_get_sequence(before)) + 1);
            icalcomponent_set_dtstamp(ev, now);
            ++count.cancelled;
        }
        const QByteArray evZone = tzidOf(ev);
        if (!evZone.isEmpty() && evZone != tzid)
            otherZones.insert(evZone);
        placed.push_back({date, uid, ev});
    }
    // Events kept from a publication under another clock still need their zone.
    for (const QByteArray &other : std::as_const(otherZones)) {
        if (icalcomponent *z = old.zones.value(other))
            icalcomponent_add_component(cal.get(), icalcomponent_new_clone(z));
    }

    std::sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) {
        return a.date != b.date ? a.date < b.date : a.uid < b.uid;
    });
    for (const Placed &p : placed)
        icalcomponent_add_component(cal.get(), p.event);

    if (changes)
        *changes = count;
    const Buffer text(icalcomponent_as_ical_string_r(cal.get()));
    out.resize(0);
    if (!text)
        return;
    // The calendar's name is written here, escaped as a TEXT value: libical writes the value
    // of an X- property with its semicolons and commas bare.
    static constexpr QByteArrayView begin("BEGIN:VCALENDAR\r\n");
    const QByteArrayView all(text.get());
    if (!all.startsWith(begin)) {
        out.append(all);
        return;
    }
    out.append(begin);
    out.append(foldedIcalLine("X-WR-CALNAME:" + icalTextValue(settings.name)));
    out.append(all.sliced(begin.size()));
}

} // namespace korvesta
