#include "records.h"

#include "text/printable.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace korvesta {

namespace {

QString cellText(const QVariant &value, bool isoDates)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QDate) {
        const QDate date = value.toDate();
        return date.isValid() ? date.toString(isoDates ? QStringLiteral("yyyy-MM-dd")
                                                       : QStringLiteral("dd.MM.yyyy"))
                              : QString();
    }
    // A tab or a line break inside a value would split the record.
    return value.toString()
        .replace(u'\t', u' ')
        .replace(QStringLiteral("\r\n"), QStringLiteral("\\n"))
        .replace(u'\n', QStringLiteral("\\n"));
}

} // namespace

QJsonValue jsonValueOf(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QJsonValue();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().isValid()
                   ? QJsonValue(value.toDate().toString(QStringLiteral("yyyy-MM-dd")))
                   : QJsonValue();
    case QMetaType::QDateTime:
        return value.toDateTime().toString(Qt::ISODate);
    case QMetaType::Int:
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::Double:
        return value.toDouble();
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::QVariantList:
    case QMetaType::QVariantMap:
        return QJsonValue::fromVariant(value);
    default:
        return value.toString();
    }
}

const QStringList &recordFormatWords()
{
    static const QStringList words = {QStringLiteral("text"), QStringLiteral("tsv"),
                                      QStringLiteral("json")};
    return words;
}

void Records::write(RecordFormat format, QTextStream &out, bool isoDates) const
{
    if (format == RecordFormat::Json) {
        QJsonArray array;
        for (const QVariantList &row : rows) {
            QJsonObject object;
            for (int i = 0; i < fields.size(); ++i)
                object.insert(fields[i], jsonValueOf(row.value(i)));
            array.append(object);
        }
        out << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
        return;
    }
    out << headers.join(u'\t') << '\n';
    for (const QVariantList &row : rows) {
        QStringList cells;
        for (int i = 0; i < fields.size(); ++i)
            cells << printableText(cellText(row.value(i), isoDates));
        out << cells.join(u'\t') << '\n';
    }
}

} // namespace korvesta
