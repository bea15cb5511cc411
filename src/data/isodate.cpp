#include "data/isodate.h"

namespace korvesta {

QDate dateOf(const QVariant &value)
{
    return value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
}

namespace {

// Writes value as exactly 'width' decimal digits.
char *putDigits(char *out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return out + width;
}

char *putTime(char *out, const QTime &time)
{
    out = putDigits(out, time.hour(), 2);
    *out++ = ':';
    out = putDigits(out, time.minute(), 2);
    *out++ = ':';
    return putDigits(out, time.second(), 2);
}

bool fourDigitYear(const QDate &date)
{
    return date.isValid() && date.year() >= 0 && date.year() <= 9999;
}

// Reads the forms listed with parseMoment from code units of either width.
template <typename Unit>
bool readMoment(const Unit *p, const Unit *end, MomentParts &parts)
{
    while (p < end && *p == ' ')
        ++p;
    while (end > p && end[-1] == ' ')
        --end;

    auto number = [&p, end](int minDigits, int maxDigits, int &value) {
        int digits = 0;
        value = 0;
        while (p < end && digits < maxDigits && *p >= '0' && *p <= '9') {
            value = value * 10 + static_cast<int>(*p - '0');
            ++p;
            ++digits;
        }
        return digits >= minDigits;
    };
    auto skip = [&p, end](char c) {
        if (p == end || *p != static_cast<Unit>(c))
            return false;
        ++p;
        return true;
    };

    const Unit *start = p;
    int first = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    if (!number(1, 4, first))
        return false;
    if (p - start == 4 && skip('-')) {
        year = first;
        if (!number(1, 2, month) || !skip('-') || !number(1, 2, day))
            return false;
    } else if (p - start <= 2 && skip('.')) {
        day = first;
        if (!number(1, 2, month) || !skip('.'))
            return false;
        const Unit *yearStart = p;
        if (!number(4, 4, year) || p - yearStart != 4)
            return false;
    } else {
        return false;
    }
    if (!QDate::isValid(year, month, day))
        return false;
    parts.date = QDate(year, month, day);
    parts.time = QTime(0, 0);
    parts.hasTime = false;
    if (p == end)
        return true;

    if (*p != 'T' && *p != ' ')
        return false;
    while (p < end && (*p == ' ' || *p == 'T'))
        ++p;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int msec = 0;
    if (!number(1, 2, hour) || !skip(':') || !number(2, 2, minute))
        return false;
    if (skip(':')) {
        if (!number(2, 2, second))
            return false;
        if (skip('.')) {
            // Fractions of a second, as SQLite's strftime('%f') writes them.
            int scale = 100;
            if (p == end)
                return false;
            for (; p < end && *p >= '0' && *p <= '9'; ++p, scale /= 10)
                msec += scale * static_cast<int>(*p - '0');
        }
    }
    if (p != end || !QTime::isValid(hour, minute, second, msec))
        return false;
    parts.time = QTime(hour, minute, second, msec);
    parts.hasTime = true;
    return true;
}

QDateTime localMoment(const MomentParts &parts)
{
    return QDateTime(parts.date, parts.time, Qt::LocalTime);
}

} // namespace

QString isoDateText(const QDate &date)
{
    if (!fourDigitYear(date))
        return date.toString(Qt::ISODate);
    char text[10];
    char *out = putDigits(text, date.year(), 4);
    *out++ = '-';
    out = putDigits(out, date.month(), 2);
    *out++ = '-';
    putDigits(out, date.day(), 2);
    return QString::fromLatin1(text, sizeof text);
}

QString isoMomentText(const QDate &date, const QTime &time)
{
    if (!fourDigitYear(date) || !time.isValid())
        return date.toString(Qt::ISODate) + u' ' + time.toString(u"HH:mm:ss");
    char text[19];
    char *out = putDigits(text, date.year(), 4);
    *out++ = '-';
    out = putDigits(out, date.month(), 2);
    *out++ = '-';
    out = putDigits(out, date.day(), 2);
    *out++ = ' ';
    putTime(out, time);
    return QString::fromLatin1(text, sizeof text);
}

QString isoMomentText(const QDateTime &moment)
{
    return isoMomentText(moment.date(), moment.time());
}

bool parseMomentParts(const char *utf8, int length, MomentParts &parts)
{
    if (utf8 == nullptr || length <= 0)
        return false;
    const auto *bytes = reinterpret_cast<const unsigned char *>(utf8);
    return readMoment(bytes, bytes + length, parts);
}

QDateTime parseMoment(QStringView text)
{
    MomentParts parts;
    if (!readMoment(text.utf16(), text.utf16() + text.size(), parts))
        return {};
    return localMoment(parts);
}

QDateTime parseMoment(const char *utf8, int length)
{
    MomentParts parts;
    if (!parseMomentParts(utf8, length, parts))
        return {};
    return localMoment(parts);
}

QString displayDateText(const QDate &date, const QTime &time)
{
    if (!fourDigitYear(date))
        return date.toString(u"dd.MM.yyyy");
    char text[19];
    char *out = putDigits(text, date.day(), 2);
    *out++ = '.';
    out = putDigits(out, date.month(), 2);
    *out++ = '.';
    out = putDigits(out, date.year(), 4);
    if (time.isValid() && time != QTime(0, 0)) {
        *out++ = ' ';
        out = putTime(out, time);
    }
    return QString::fromLatin1(text, static_cast<qsizetype>(out - text));
}

QString displayDateText(const QDateTime &moment)
{
    return displayDateText(moment.date(), moment.time());
}

} // namespace korvesta
