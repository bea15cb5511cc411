#include "jetparser.h"

#include <QDate>
#include <QStringList>
#include <QTime>

namespace korvesta::jet {

QString dateLiteralToIso(const QString &text)
{
    const QString t = text.trimmed();
    QDate date;
    QTime time;
    const int space = int(t.indexOf(u' '));
    const QString datePart = space < 0 ? t : t.left(space);
    QString timePart = space < 0 ? QString() : t.mid(space + 1).trimmed();

    if (datePart.contains(u'/')) {
        const QStringList p = datePart.split(u'/');
        if (p.size() != 3)
            return {};
        bool ok1 = false, ok2 = false, ok3 = false;
        const int m = p[0].toInt(&ok1);
        const int d = p[1].toInt(&ok2);
        int y = p[2].toInt(&ok3);
        if (!ok1 || !ok2 || !ok3)
            return {};
        if (p[2].size() <= 2)
            y += y < 30 ? 2000 : 1900;
        date = QDate(y, m, d);
    } else if (datePart.contains(u'-')) {
        date = QDate::fromString(datePart, QStringLiteral("yyyy-MM-dd"));
    } else if (datePart.contains(u'.')) {
        date = QDate::fromString(datePart, QStringLiteral("d.M.yyyy"));
    } else if (datePart.contains(u':') && timePart.isEmpty()) {
        timePart = datePart; // a time alone
        date = QDate(1899, 12, 30);
    }
    if (!date.isValid())
        return {};
    if (timePart.isEmpty())
        return date.toString(Qt::ISODate);

    bool pm = false, am = false;
    QString clock = timePart.toUpper();
    if (clock.endsWith(u"PM")) {
        pm = true;
        clock.chop(2);
    } else if (clock.endsWith(u"AM")) {
        am = true;
        clock.chop(2);
    }
    const QStringList c = clock.trimmed().split(u':');
    if (c.size() < 2 || c.size() > 3)
        return {};
    int h = c[0].toInt();
    const int mi = c[1].toInt();
    const int s = c.size() == 3 ? c[2].toInt() : 0;
    if (pm && h < 12)
        h += 12;
    if (am && h == 12)
        h = 0;
    time = QTime(h, mi, s);
    if (!time.isValid())
        return {};
    return date.toString(Qt::ISODate) + u' ' + time.toString(QStringLiteral("HH:mm:ss"));
}

} // namespace korvesta::jet
