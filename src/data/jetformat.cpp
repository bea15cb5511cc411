#include "data/jetformat.h"

#include "data/isodate.h"

#include <QLocale>

#include <array>
#include <charconv>
#include <cmath>
#include <optional>

namespace korvesta {
namespace {

struct NamedFormat {
    QStringView name;
    QStringView pattern; // empty: the general form
    bool date;
};

const NamedFormat kNamedFormats[] = {
    {u"General Date", u"", true},
    {u"Long Date", u"d mmmm yyyy", true},
    {u"Medium Date", u"dd-mmm-yy", true},
    {u"Short Date", u"dd.mm.yyyy", true},
    {u"Long Time", u"hh:nn:ss", true},
    {u"Medium Time", u"hh:nn AM/PM", true},
    {u"Short Time", u"hh:nn", true},
    {u"General Number", u"", false},
    {u"Fixed", u"0.00", false},
    {u"Standard", u"#,##0.00", false},
    {u"Percent", u"0.00%", false},
};

std::optional<NamedFormat> namedFormat(QStringView pattern)
{
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

// Skips a quoted literal or an escaped character at i, appending its text to out (when given).
// Returns false when pattern[i] starts neither.
bool takeLiteral(QStringView pattern, qsizetype &i, QString *out)
{
    if (pattern[i] == u'"') {
        const qsizetype close = pattern.indexOf(u'"', i + 1);
        const qsizetype end = close < 0 ? pattern.size() : close;
        if (out)
            out->append(pattern.mid(i + 1, end - i - 1));
        i = close < 0 ? end : end + 1;
        return true;
    }
    if (pattern[i] == u'\\') {
        if (out && i + 1 < pattern.size())
            out->append(pattern[i + 1]);
        i += 2;
        return true;
    }
    return false;
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

// Digits of |value| rounded half away from zero to 'decimals' places: first to 15 significant
// digits, as Jet converts a double, so that 1.005 shows as 1.01 and not 1.00.
void fixedDigits(double value, int decimals, QString &whole, QString &fraction)
{
    whole.clear();
    fraction.clear();
    if (!std::isfinite(value))
        return;
    char buffer[40];
    const auto converted = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                         std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<size_t>(converted.ptr - buffer));
    const size_t e = text.find('e');
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    QString digits;
    for (size_t i = 0; i < e; ++i) {
        if (text[i] != '.')
            digits.append(QLatin1Char(text[i]));
    }
    int point = exponent + 1; // digits before the decimal point
    if (point < 1) {
        digits.prepend(QString(1 - point, u'0'));
        point = 1;
    }
    const qsizetype keep = point + decimals;
    if (digits.size() <= keep)
        digits.append(QString(keep + 1 - digits.size(), u'0'));
    const bool roundUp = digits[keep] >= u'5';
    digits.truncate(keep);
    for (qsizetype i = keep - 1; roundUp && i >= 0; --i) {
        if (digits[i] == u'9') {
            digits[i] = u'0';
        } else {
            digits[i] = QChar(digits[i].unicode() + 1);
            break;
        }
        if (i == 0) {
            digits.prepend(u'1');
            ++point;
        }
    }
    whole = digits.left(point);
    while (whole.size() > 0 && whole[0] == u'0')
        whole.remove(0, 1);
    fraction = digits.mid(point);
}

void groupThousands(QString &digits)
{
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u' ');
}

// One section of a number pattern applied to a non-negative value.
QString formatSection(double value, QStringView pattern)
{
    int wholeZeros = 0;
    int fractionZeros = 0;
    int decimals = 0;
    bool grouping = false;
    bool inFraction = false;
    for (qsizetype i = 0; i < pattern.size();) {
        if (takeLiteral(pattern, i, nullptr))
            continue;
        const QChar c = pattern[i++];
        if (c == u'.') {
            inFraction = true;
        } else if (c == u'%') {
            value *= 100;
        } else if (c == u',' && !inFraction) {
            grouping = true;
        } else if (c == u'0' || c == u'#') {
            if (inFraction) {
                ++decimals;
                if (c == u'0')
                    fractionZeros = decimals;
            } else if (c == u'0') {
                ++wholeZeros;
            }
        }
    }

    QString whole;
    QString fraction;
    fixedDigits(value, decimals, whole, fraction);
    if (whole.size() < wholeZeros)
        whole.prepend(QString(wholeZeros - whole.size(), u'0'));
    if (grouping)
        groupThousands(whole);
    while (fraction.size() > fractionZeros && fraction.endsWith(u'0'))
        fraction.chop(1);

    // The number is written where its first placeholder stands; literals keep their places.
    QString out;
    bool wholeWritten = false;
    bool fractionWritten = false;
    for (qsizetype i = 0; i < pattern.size();) {
        if (takeLiteral(pattern, i, &out))
            continue;
        const QChar c = pattern[i++];
        if (c == u'0' || c == u'#' || c == u',') {
            if (!wholeWritten && !fractionWritten) {
                out += whole;
                wholeWritten = true;
            }
        } else if (c == u'.') {
            if (!wholeWritten) {
                out += whole;
                wholeWritten = true;
            }
            if (!fractionWritten) {
                out += u'.' + fraction;
                fractionWritten = true;
            }
        } else {
            out += c;
        }
    }
    return out;
}

QList<QStringView> splitSections(QStringView pattern)
{
    QList<QStringView> sections;
    qsizetype start = 0;
    for (qsizetype i = 0; i < pattern.size();) {
        if (takeLiteral(pattern, i, nullptr))
            continue;
        if (pattern[i] == u';') {
            sections.append(pattern.mid(start, i - start));
            start = i + 1;
        }
        ++i;
    }
    sections.append(pattern.mid(start));
    return sections;
}

bool allZero(QStringView text)
{
    for (QChar c : text) {
        if (c.isDigit() && c != u'0')
            return false;
    }
    return true;
}

} // namespace

QString jetNumberText(double value)
{
    if (!std::isfinite(value))
        return {};
    char buffer[40];
    std::to_chars_result converted;
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        converted = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value));
    } else {
        converted = std::to_chars(buffer, buffer + sizeof buffer, value,
                                  std::chars_format::general, 15);
    }
    QString text = QString::fromLatin1(buffer, static_cast<qsizetype>(converted.ptr - buffer));
    return text.replace(u'e', u'E');
}

bool isDatePattern(QStringView pattern)
{
    if (const auto named = namedFormat(pattern))
        return named->date;
    for (qsizetype i = 0; i < pattern.size();) {
        if (takeLiteral(pattern, i, nullptr))
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
        if (takeLiteral(pattern, i, &out))
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

QString formatNumber(double value, QStringView pattern)
{
    if (const auto named = namedFormat(pattern))
        pattern = named->pattern;
    if (pattern.isEmpty())
        return jetNumberText(value);

    // Sections: positive; negative (written without its sign); zero.
    const QList<QStringView> sections = splitSections(pattern);
    if (value < 0 && sections.size() >= 2 && !sections[1].isEmpty())
        return formatSection(-value, sections[1]);
    if (value == 0 && sections.size() >= 3 && !sections[2].isEmpty())
        return formatSection(0, sections[2]);
    const QString text = formatSection(std::fabs(value), sections[0]);
    return value < 0 && !allZero(text) ? u'-' + text : text;
}

} // namespace korvesta
