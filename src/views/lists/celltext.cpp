#include "celltext.h"

#include "data/dberror.h"
#include "data/isodate.h"
#include "data/recordset.h"

namespace korvesta {

QString cellText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDate:
        return displayDateText(value.toDate(), QTime(0, 0));
    case QMetaType::QDateTime:
        return displayDateText(value.toDateTime());
    case QMetaType::QString: {
        // Dates computed by a query (the latest lesson) come back as stored text.
        const QString text = value.toString();
        if (text.size() >= 10 && text.at(4) == QLatin1Char('-') && text.at(7) == QLatin1Char('-')) {
            const QDateTime moment = parseMoment(text);
            if (moment.isValid())
                return displayDateText(moment);
        }
        return text;
    }
    default:
        return value.toString();
    }
}

int requiredField(const Recordset &rs, const QString &name)
{
    const int index = rs.fieldIndex(name);
    if (index < 0)
        throw DbError(dberr::ItemNotFound, QStringLiteral("Нет поля «%1»").arg(name));
    return index;
}

} // namespace korvesta
