#include "data/sqlfunctions_p.h"

#include "data/isodate.h"

#include <QByteArray>

#include <sqlite3.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace korvesta::sqlfn {
namespace {

// ---- Dates -----------------------------------------------------------------------------------

constexpr qint64 kSerialEpoch = 2415019; // Julian day of 1899-12-30, Jet's day 0
constexpr qint64 kDaySeconds = 86400;

int secondsOfDay(const QTime &time)
{
    return time.msecsSinceStartOfDay() / 1000;
}

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 quotient = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? quotient - 1 : quotient;
}

qint64 totalSeconds(const MomentParts &moment)
{
    return moment.date.toJulianDay() * kDaySeconds + secondsOfDay(moment.time);
}

void resultMoment(sqlite3_context *context, const QDate &date, const QTime &time, bool withTime)
{
    // Jet's dates run from the year 100 to 9999; beyond them its date functions fail.
    if (!date.isValid() || date.year() < 100 || date.year() > 9999)
        return sqlite3_result_null(context);
    resultString(context, withTime ? isoMomentText(date, time) : isoDateText(date));
}

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

std::optional<Interval> argInterval(sqlite3_value *value)
{
    static constexpr std::pair<std::string_view, Interval> kNames[] = {
        {"yyyy", Interval::Year},  {"q", Interval::Quarter},  {"m", Interval::Month},
        {"y", Interval::DayOfYear}, {"d", Interval::Day},     {"w", Interval::Weekday},
        {"ww", Interval::Week},    {"h", Interval::Hour},     {"n", Interval::Minute},
        {"s", Interval::Second},
    };
    QByteArray storage;
    std::string name(argUtf8(value, storage));
    std::erase(name, ' ');
    for (char &c : name)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    for (const auto &[text, interval] : kNames) {
        if (name == text)
            return interval;
    }
    return std::nullopt;
}

} // namespace

// Jet's day serial: whole days from 1899-12-30, the fraction the time of day. Before day 0
// the fraction still counts forward from the day's midnight (-1.25 is 1899-12-29 06:00).
double daySerial(const MomentParts &moment)
{
    const auto day = static_cast<double>(moment.date.toJulianDay() - kSerialEpoch);
    const double fraction = secondsOfDay(moment.time) / static_cast<double>(kDaySeconds);
    return day < 0 ? day - fraction : day + fraction;
}

bool serialMoment(double serial, MomentParts &moment)
{
    if (!std::isfinite(serial) || std::fabs(serial) > 3.0e6)
        return false;
    const double day = std::trunc(serial);
    qint64 seconds = std::llround(std::fabs(serial - day) * kDaySeconds);
    qint64 julianDay = kSerialEpoch + static_cast<qint64>(day);
    if (seconds >= kDaySeconds) {
        seconds -= kDaySeconds;
        ++julianDay;
    }
    moment.date = QDate::fromJulianDay(julianDay);
    moment.time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds * 1000));
    moment.hasTime = seconds != 0;
    return true;
}

// A date argument: date or moment text, or a day serial.
bool argMoment(sqlite3_value *value, MomentParts &moment)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return serialMoment(sqlite3_value_double(value), moment);
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
        return parseMomentParts(text, sqlite3_value_bytes(value), moment);
    }
    default:
        return false;
    }
}

// DateDiff counts the boundaries of the interval crossed between the two dates: a year from
// 31 December to 1 January, a day from 23:00 to 01:00. Weeks ('ww') start on Monday.
void jetDateDiff(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto interval = argInterval(argv[0]);
    MomentParts from;
    MomentParts to;
    if (!interval || !argMoment(argv[1], from) || !argMoment(argv[2], to))
        return sqlite3_result_null(context);
    const qint64 days = to.date.toJulianDay() - from.date.toJulianDay();
    const auto months = [](const QDate &d) { return d.year() * 12LL + d.month() - 1; };
    qint64 result = 0;
    switch (*interval) {
    case Interval::Year:
        result = to.date.year() - from.date.year();
        break;
    case Interval::Quarter:
        result = floorDiv(months(to.date), 3) - floorDiv(months(from.date), 3);
        break;
    case Interval::Month:
        result = months(to.date) - months(from.date);
        break;
    case Interval::DayOfYear:
    case Interval::Day:
        result = days;
        break;
    case Interval::Weekday:
        result = days / 7;
        break;
    case Interval::Week:
        // Julian day 0 is a Monday.
        result = floorDiv(to.date.toJulianDay(), 7) - floorDiv(from.date.toJulianDay(), 7);
        break;
    case Interval::Hour:
        result = floorDiv(totalSeconds(to), 3600) - floorDiv(totalSeconds(from), 3600);
        break;
    case Interval::Minute:
        result = floorDiv(totalSeconds(to), 60) - floorDiv(totalSeconds(from), 60);
        break;
    case Interval::Second:
        result = totalSeconds(to) - totalSeconds(from);
        break;
    }
    sqlite3_result_int64(context, result);
}

// The result keeps the date form when the input was a bare date and no time of day arose.
void jetDateAdd(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto interval = argInterval(argv[0]);
    qint64 count = 0;
    MomentParts moment;
    if (!interval || !argWhole(argv[1], count) || !argMoment(argv[2], moment)
        || std::llabs(count) > 1'000'000'000'000LL)
        return sqlite3_result_null(context);
    QDate date = moment.date;
    qint64 seconds = secondsOfDay(moment.time);
    const auto addMonths = [&date](qint64 months) {
        date = std::llabs(months) <= 120'000 ? date.addMonths(static_cast<int>(months)) : QDate();
    };
    const auto addDays = [&date](qint64 days) {
        date = std::llabs(days) <= 4'000'000 ? date.addDays(days) : QDate();
    };
    const auto addSeconds = [&](qint64 unit) {
        const qint64 total = totalSeconds(moment) + count * unit;
        const qint64 day = floorDiv(total, kDaySeconds);
        date = QDate::fromJulianDay(day);
        seconds = total - day * kDaySeconds;
    };
    switch (*interval) {
    case Interval::Year:
        addMonths(count * 12);
        break;
    case Interval::Quarter:
        addMonths(count * 3);
        break;
    case Interval::Month:
        addMonths(count);
        break;
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday:
        addDays(count);
        break;
    case Interval::Week:
        addDays(count * 7);
        break;
    case Interval::Hour:
        addSeconds(3600);
        break;
    case Interval::Minute:
        addSeconds(60);
        break;
    case Interval::Second:
        addSeconds(1);
        break;
    }
    const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds * 1000));
    resultMoment(context, date, time, moment.hasTime || seconds != 0);
}

// DateSerial carries overflowing months and days into the next or previous unit; two-digit
// years are read as Windows reads them (0-29 as 2000-2029, 30-99 as 1930-1999).
void jetDateSerial(sqlite3_context *context, int, sqlite3_value **argv)
{
    qint64 year = 0;
    qint64 month = 0;
    qint64 day = 0;
    if (!argWhole(argv[0], year) || !argWhole(argv[1], month) || !argWhole(argv[2], day)
        || std::llabs(year) > 20'000 || std::llabs(month) > 240'000 || std::llabs(day) > 4'000'000)
        return sqlite3_result_null(context);
    if (year >= 0 && year <= 29)
        year += 2000;
    else if (year >= 30 && year <= 99)
        year += 1900;
    const qint64 months = year * 12 + month - 1;
    const qint64 normalYear = floorDiv(months, 12);
    const auto normalMonth = static_cast<int>(months - normalYear * 12 + 1);
    const QDate first(static_cast<int>(normalYear), normalMonth, 1);
    resultMoment(context, first.isValid() ? first.addDays(day - 1) : QDate(), QTime(0, 0), false);
}

void jetCDate(sqlite3_context *context, int, sqlite3_value **argv)
{
    MomentParts moment;
    if (!argMoment(argv[0], moment))
        return sqlite3_result_null(context);
    resultMoment(context, moment.date, moment.time, moment.hasTime);
}

void jetDateValue(sqlite3_context *context, int, sqlite3_value **argv)
{
    MomentParts moment;
    if (!argMoment(argv[0], moment))
        return sqlite3_result_null(context);
    resultMoment(context, moment.date, QTime(0, 0), false);
}

template <DatePart Part>
void jetDatePart(sqlite3_context *context, int, sqlite3_value **argv)
{
    MomentParts m;
    if (!argMoment(argv[0], m))
        return sqlite3_result_null(context);
    switch (Part) {
    case DatePart::Year:
        return sqlite3_result_int(context, m.date.year());
    case DatePart::Month:
        return sqlite3_result_int(context, m.date.month());
    case DatePart::Day:
        return sqlite3_result_int(context, m.date.day());
    case DatePart::Hour:
        return sqlite3_result_int(context, m.time.hour());
    case DatePart::Minute:
        return sqlite3_result_int(context, m.time.minute());
    case DatePart::Second:
        return sqlite3_result_int(context, m.time.second());
    }
}

template void jetDatePart<DatePart::Year>(sqlite3_context *, int, sqlite3_value **);
template void jetDatePart<DatePart::Month>(sqlite3_context *, int, sqlite3_value **);
template void jetDatePart<DatePart::Day>(sqlite3_context *, int, sqlite3_value **);
template void jetDatePart<DatePart::Hour>(sqlite3_context *, int, sqlite3_value **);
template void jetDatePart<DatePart::Minute>(sqlite3_context *, int, sqlite3_value **);
template void jetDatePart<DatePart::Second>(sqlite3_context *, int, sqlite3_value **);

// Weekday(d[, firstday]): 1 for the first day of the week, firstday 1 = Sunday (the default)
// ... 7 = Saturday; 0 counts as Sunday.
void jetWeekday(sqlite3_context *context, int argc, sqlite3_value **argv)
{
    MomentParts moment;
    qint64 firstDay = 1;
    if (!argMoment(argv[0], moment) || (argc == 2 && !argWhole(argv[1], firstDay)) || firstDay < 0
        || firstDay > 7)
        return sqlite3_result_null(context);
    const int fromSunday = moment.date.dayOfWeek() % 7;
    const int first = firstDay == 0 ? 0 : static_cast<int>(firstDay) - 1;
    sqlite3_result_int(context, (fromSunday - first + 7) % 7 + 1);
}

} // namespace korvesta::sqlfn

