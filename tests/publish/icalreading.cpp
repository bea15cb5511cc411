#include "icalreading.h"

#include <libical/ical.h>

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

namespace korvesta {

namespace {

QString moment(icaltimetype t, const QTimeZone &zone)
{
    if (icaltime_is_null_time(t))
        return QString();
    if (t.is_date)
        return QDate(t.year, t.month, t.day).toString(Qt::ISODate);
    // The moment itself, whatever zone the file wrote it in.
    const time_t utc = icaltime_as_timet_with_zone(t, t.zone);
    return QDateTime::fromSecsSinceEpoch(qint64(utc), zone).toString("yyyy-MM-dd HH:mm");
}

QString text(const char *value)
{
    return value ? QString::fromUtf8(value) : QString();
}

} // namespace

std::vector<ReadEvent> readCalendar(const QString &path, const QTimeZone &zone)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray content = file.readAll();
    icalcomponent *root = icalparser_parse_string(content.constData());
    EXPECT_NE(root, nullptr) << path.toStdString();
    std::vector<ReadEvent> events;
    if (!root)
        return events;
    EXPECT_EQ(icalcomponent_isa(root), ICAL_VCALENDAR_COMPONENT);
    EXPECT_EQ(icalcomponent_count_errors(root), 0) << path.toStdString();
    for (icalcomponent *ev = icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT); ev;
         ev = icalcomponent_get_next_component(root, ICAL_VEVENT_COMPONENT)) {
        ReadEvent e;
        e.uid = text(icalcomponent_get_uid(ev));
        e.start = moment(icalcomponent_get_dtstart(ev), zone);
        e.end = moment(icalcomponent_get_dtend(ev), zone);
        e.summary = text(icalcomponent_get_summary(ev));
        e.location = text(icalcomponent_get_location(ev));
        e.description = text(icalcomponent_get_description(ev));
        e.cancelled = icalcomponent_get_status(ev) == ICAL_STATUS_CANCELLED;
        e.sequence = icalcomponent_get_sequence(ev);
        events.push_back(e);
    }
    icalcomponent_free(root);
    return events;
}

} // namespace korvesta
