#include "data/jetformat.h"

#include "data/isodate.h"
#include "text/numberformat.h"

#include <QLocale>

#include <array>
#include <optional>

namespace korvesta {
namespace {

struct NamedFormat {
    QStringView name;
    QStringView pattern; // empty: the general form
};

const NamedFormat kNamedFormats[] = {
    {u"General Date", u""},
    {u"Long Date", u"d mmmm yyyy"},
    {u"Medium Date", u"dd-mmm-yy"},
    {u"Short Date", u"dd.mm.yyyy"},
    {u"Long Time", u"hh:nn:ss"},
    {u"Medium Time", u"hh:nn AM/PM"},
    {u"Short Time", u"hh:nn"},
};

// A named date format; a named number format gives its pattern too.
std::optional<NamedFormat> namedFormat(QStringView pattern)
{
    bool number = false;
    const QStringView numberPattern = namedNumberPattern(pattern, &number);
    if (number)
        return NamedFormat{pattern, numberPattern};
    pattern = pattern.trimmed();
    for (const NamedFormat &named : kNamedFormats) {
        if (pattern.compare(named.name, Qt::CaseInsensitive) == 0)
            return named;
    }
    return std::nullopt;
}

char16_t lowerAscii(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 'A' && u <= 'Z' ? static_cast<char16_t>(u + 32) : u;
}

bool startsWithAt(QStringView pattern, qsizetype i, QStringView word)
{
    return pattern.mid(i).startsWith(word, Qt::CaseInsensitive);
}

const QLocale &russian()
{
    static const QLocale locale(QLocale::Russian);
    return locale;
}

// A month name stands alone in the nominative ("Март") and follows a day in the genitive
// ("14 марта"), as the Russian regional settings write them.
// Names are looked up once: Format runs per row.
QString monthName(int month, bool afterDay, QLocale::FormatType type)
{
    static const auto names = [] {
        std::array<QString, 4 * 12> all; // [afterDay][long][month]
        for (int m = 1; m <= 12; ++m) {
            for (const auto form : {QLocale::ShortFormat, QLocale::LongFormat}) {
                const int column = (form == QLocale::LongFormat ? 12 : 0) + m - 1;
                all[24 + column] = russian().monthName(m, form);
                QString alone = russian().standaloneMonthName(m, form);
                if (!alone.isEmpty())
                    alone[0] = alone[0].toUpper();
                all[column] = alone;
            }
        }
        return all;
    }();
    return names[(afterDay ? 24 : 0) + (type == QLocale::LongFormat ? 12 : 0) + month - 1];
}

QString dayName(int dayOfWeek, QLocale::FormatType type)
{
    static const auto names = [] {
        std::array<QString, 2 * 7> all; // [long][day]
        for (int d = 1; d <= 7; ++d) {
            all[d - 1] = russian().dayName(d, QLocale::ShortFormat);
            all[7 + d - 1] = russian().dayName(d, QLocale::LongFormat);
        }
        return all;
    }();
    return names[(type == QLocale::LongFormat ? 7 : 0) + dayOfWeek - 1];
}

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, u'0');
}

// Week of the year counted from Monday, the week holding 1 January being the first; the same
// week boundaries DateDiff('ww') counts.
int weekOfYear(const QDate &date)
{
    const QDate first(date.year(), 1, 1);
    return (date.dayOfYear() - 1 + first.dayOfWeek() - 1) / 7 + 1;
}

} // namespace

bool isDatePattern(QStringView pattern)
{
    bool number = false;
    namedNumberPattern(pattern, &number);
    if (number)
        return false;
    if (namedFormat(pattern))
        return true;
    for (qsizetype i = 0; i < pattern.size();) {
        if (takeFormatLiteral(pattern, i, nullptr))
            continue;
        switch (lowerAscii(pattern[i++])) {
        case 'c': case 'd': case 'm': case 'y': case 'h': case 'n': case 's': case 'q': case 'w':
            return true;
        default:
            break;
        }
    }
    return false;
}

QString formatDate(const QDate &date, const QTime &time, QStringView pattern)
{
    if (const auto named = namedFormat(pattern))
        pattern = named->pattern;
    if (pattern.isEmpty())
        return displayDateText(date, time);

    const bool twelveHour = pattern.contains(u"AM/PM", Qt::CaseInsensitive)
                            || pattern.contains(u"A/P", Qt::CaseInsensitive);
    bool afterDay = false;  // a day of the month was written: month names take the genitive
    bool afterHour = false; // 'm' right after an hour means minutes, as in "hh:mm"
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        if (takeFormatLiteral(pattern, i, &out))
            continue;
        const char16_t letter = lowerAscii(pattern[i]);
        const bool full = letter == 'a' && startsWithAt(pattern, i, u"AM/PM");
        if (full || (letter == 'a' && startsWithAt(pattern, i, u"A/P"))) {
            const bool upper = pattern[i] == u'A';
            QString mark = time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            if (!full)
                mark.truncate(1);
            out += upper ? mark : mark.toLower();
            i += full ? 5 : 3;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && lowerAscii(pattern[i + run]) == letter)
            ++run;
        const bool token = QStringView(u"cdmyhnsqw").contains(QChar(letter));
        if (!token) {
            out += pattern[i++];
            continue;
        }
        i += run;
        const bool minutes = letter == 'n' || (letter == 'm' && afterHour && run <= 2);
        afterHour = letter == 'h';
        if (minutes) {
            out += run == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            continue;
        }
        switch (letter) {
        case 'c':
            out += displayDateText(date, time);
            break;
        case 'd':
            if (run <= 2) {
                out += run == 1 ? QString::number(date.day()) : twoDigits(date.day());
                afterDay = true;
            } else if (run <= 4) {
                const auto type = run == 3 ? QLocale::ShortFormat : QLocale::LongFormat;
                out += dayName(date.dayOfWeek(), type);
            } else {
                out += formatDate(date, time, run == 5 ? u"Short Date" : u"Long Date");
            }
            break;
        case 'm':
            if (run <= 2) {
                out += run == 1 ? QString::number(date.month()) : twoDigits(date.month());
            } else {
                const auto type = run == 3 ? QLocale::ShortFormat : QLocale::LongFormat;
                out += monthName(date.month(), afterDay, type);
            }
            break;
        case 'y':
            if (run == 1)
                out += QString::number(date.dayOfYear());
            else if (run == 2)
                out += twoDigits(date.year() % 100);
            else
                out += QString::number(date.year());
            break;
        case 'h': {
            int hour = time.hour();
            if (twelveHour)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            out += run == 1 ? QString::number(hour) : twoDigits(hour);
            break;
        }
        case 's':
            out += run == 1 ? QString::number(time.second()) : twoDigits(time.second());
            break;
        case 'q':
            for (qsizetype k = 0; k < run; ++k)
                out += QString::number((date.month() - 1) / 3 + 1);
            break;
        case 'w':
            // Weekday counts from Sunday, as Weekday() does by default.
            out += QString::number(run == 1 ? date.dayOfWeek() % 7 + 1 : weekOfYear(date));
            break;
        }
    }
    return out;
}

} // namespace korvesta
