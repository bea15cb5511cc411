#include "cellcomposer.h"

namespace korvesta {

namespace {

// A part on one line: a tab or line break pasted into a name would otherwise pass for the
// break between parts, or shift the cells of an exported row.
QString oneLine(const QString &part)
{
    QString text = part;
    for (QChar &c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    }
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
    const QString s = QLatin1Char('(') + oneLine(lesson.shortType) + QLatin1Char(')');
    const QString l = QLatin1Char('(') + oneLine(lesson.longType) + QLatin1Char(')');
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
        return g + two + d;
    case 10:
        return d + lf + t;
    case 11:
        return a;
    case 12:
        return g + two + a;
    case 14:
        return t + lf + a;
    case 18:
        return d + two + a;
    case 21:
        return d + two + a + lf + t;
    case 24:
        return l;
    case 25:
        return g + two + s;
    case 27:
        return t + two + s;
    case 29:
        return f;
    case 31:
        return d + two + s;
    case 32:
        return f + lf + t;
    case 40:
        return f + lf + a;
    case 42:
        return d + one + s + two + a;
    case 43:
        return f + lf + t + one + a;
    case 45:
        return d + one + s + two + a + lf + t;
    case 53:
        return f + two + s;
    case 67:
        return f + one + s + two + a + lf + t;
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
