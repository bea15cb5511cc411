#include "datechange.h"

namespace korvesta {

DateChange DateChange::make(int viewCode, const QDate &date, int workDays)
{
    DateChange change;
    change.refill = viewCode > 34;
    change.dateText = formatDate(date);
    change.dayOff = isDayOff(date, workDays);
    return change;
}

QString DateChange::formatDate(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

bool DateChange::isDayOff(const QDate &date, int workDays)
{
    return date.isValid() && date.dayOfWeek() > workDays;
}

} // namespace korvesta
