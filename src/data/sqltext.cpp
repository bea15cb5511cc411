#include "sqltext.h"

namespace korvesta {

QString sqlText(const QString &value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString sqlDateText(const QDate &date)
{
    if (!date.isValid())
        return {};
    // Always four digits of the year: the engine reads a year of one or two digits as one of
    // the years 1930 to 2029.
    return QStringLiteral("%1/%2/%3")
        .arg(date.month())
        .arg(date.day())
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString sqlDateLiteral(const QDate &date)
{
    if (!date.isValid())
        return QStringLiteral("Null");
    return QLatin1Char('#') + sqlDateText(date) + QLatin1Char('#');
}

} // namespace korvesta
