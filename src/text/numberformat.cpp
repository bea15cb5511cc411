#include "text/numberformat.h"

#include <QList>

#include <charconv>
#include <cmath>
#include <string_view>

namespace korvesta {

namespace {

struct NamedNumberFormat {
    QStringView name;
    QStringView pattern; // empty: the plain text
};

const NamedNumberFormat kNamedNumberFormats[] = {
    {u"General Number", u""},
    {u"Fixed", u"0.00"},
    {u"Standard", u"#,##0.00"},
    {u"Percent", u"0.00%"},
};

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
        if (takeFormatLiteral(pattern, i, nullptr))
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
        if (takeFormatLiteral(pattern, i, &out))
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
        if (takeFormatLiteral(pattern, i, nullptr))
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

bool takeFormatLiteral(QStringView pattern, qsizetype &i, QString *out)
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

QStringView namedNumberPattern(QStringView name, bool *known)
{
    name = name.trimmed();
    for (const NamedNumberFormat &named : kNamedNumberFormats) {
        if (name.compare(named.name, Qt::CaseInsensitive) == 0) {
            *known = true;
            return named.pattern;
        }
    }
    *known = false;
    return {};
}

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

QString formatNumber(double value, QStringView pattern)
{
    bool named = false;
    const QStringView namedPattern = namedNumberPattern(pattern, &named);
    if (named)
        pattern = namedPattern;
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
