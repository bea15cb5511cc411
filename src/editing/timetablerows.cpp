#include "timetablerows.h"

#include "data/database.h"
#include "data/querydef.h"
#include "data/sqltext.h"

namespace korvesta {

Recordset openSavedQuery(const Database &db, const QString &name,
                         const QueryParameters &parameters)
{
    QueryDef query = db.queryDef(name);
    for (const auto &[parameter, value] : parameters)
        query.setParameter(parameter, value);
    return query.openRecordset();
}

int firstNumber(const Database &db, const QString &name, const QueryParameters &parameters,
                const QString &field)
{
    const Recordset rs = openSavedQuery(db, name, parameters);
    return rs.isEmpty() ? 0 : rs.value(field).toInt();
}

QString auditoriumText(const Recordset &rs)
{
    const QVariant aud = rs.value(QStringLiteral("Auditoria"));
    if (aud.isNull() || !aud.isValid())
        return QString();
    return aud.toString() + QStringLiteral(" (") + rs.value(QStringLiteral("Corpus")).toString()
           + QLatin1Char(')');
}

int existingDayKey(const Database &db, const QDate &date)
{
    const Recordset rs =
        db.openRecordset(QStringLiteral("SELECT tblTimeTableList.Key FROM tblTimeTableList WHERE "
                                        "tblTimeTableList.Date = %1;")
                             .arg(sqlDateLiteral(date)));
    return rs.isEmpty() ? 0 : rs.value(0).toInt();
}

bool dateProtected(const Database &db, const QDate &date)
{
    const Recordset rs = openSavedQuery(db, QStringLiteral("qryDateReadOnly"),
                                        {{QStringLiteral("pDate"), date}});
    return !rs.isEmpty() && rs.value(QStringLiteral("ReadOnly")).toBool();
}

} // namespace korvesta
