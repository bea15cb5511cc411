#include "cellcomposer.h"

#include <QStringBuilder>

#include <algorithm>

namespace korvesta {

namespace {

// A part on one line: a tab or line break pasted into a name would otherwise pass for the
// break between parts, or shift the cells of an exported row.
QString oneLine(const QString &part)
{
    const auto breaks = [](QChar c) {
        return c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
    };
    // Most parts hold no break and are shared as they are.
    if (std::none_of(part.cbegin(), part.cend(), breaks))
        return part;
    QString text = part;
    std::replace_if(text.begin(), text.end(), breaks, QLatin1Char(' '));
    return text;
}

} // namespace

QString composeCellText(const LessonTexts &lesson, int code)
{
    const QString g = oneLine(lesson.group);
    const QString t = oneLine(lesson.tutor);
    const QString d = oneLine(lesson.discipline);
    const QString f = oneLine(lesson.discipline1);
    const QString a = oneLine(lesson.auditoria);
    const QString s = QLatin1Char('(') % oneLine(lesson.shortType) % QLatin1Char(')');
    const QString l = QLatin1Char('(') % oneLine(lesson.longType) % QLatin1Char(')');
    const QString two = QStringLiteral("  ");
    const QChar one = QLatin1Char(' ');
    const QChar lf = QLatin1Char('\n');

    switch (code) {
    case 1:
        return g;
    case 3:
        return t;
    case 7:
        return d;
    case 8:
        return QString(g % two % d);
    case 10:
        return QString(d % lf % t);
    case 11:
        return a;
    case 12:
        return QString(g % two % a);
    case 14:
        return QString(t % lf % a);
    case 18:
        return QString(d % two % a);
    case 21:
        return QString(d % two % a % lf % t);
    case 24:
        return l;
    case 25:
        return QString(g % two % s);
    case 27:
        return QString(t % two % s);
    case 29:
        return f;
    case 31:
        return QString(d % two % s);
    case 32:
        return QString(f % lf % t);
    case 40:
        return QString(f % lf % a);
    case 42:
        return QString(d % one % s % two % a);
    case 43:
        return QString(f % lf % t % one % a);
    case 45:
        return QString(d % one % s % two % a % lf % t);
    case 53:
        return QString(f % two % s);
    case 67:
        return QString(f % one % s % two % a % lf % t);
    default:
        return {};
    }
}

int columnWidthForMode(int code)
{
    switch (code) {
    case 45:
        return 1200;
    case 43:
    case 67:
        return 1500;
    default:
        return 0;
    }
}

bool isTallMode(int code)
{
    return code == 43 || code == 45 || code == 67;
}

} // namespace korvesta
