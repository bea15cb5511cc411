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
    return QStringLiteral("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year());
}

QString sqlDateLiteral(const QDate &date)
{
    if (!date.isValid())
        return QStringLiteral("Null");
    return QLatin1Char('#') + sqlDateText(date) + QLatin1Char('#');
}

} // namespace korvesta
