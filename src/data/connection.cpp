#include "connection.h"

#include "dberror.h"
#include "isodate.h"

#include <QDateTime>

namespace korvesta {

Connection::Connection(QString path)
    : m_path(std::move(path))
{}

Connection::~Connection() = default;

// Schema ------------------------------------------------------------------------------------

void Connection::loadSchema()
{
    m_tables.clear();
    for (jet::TableInfo &info : readSchema())
        m_tables.insert(info.name.toLower(), std::move(info));
    m_schemaLoaded = true;
}

const jet::TableInfo *Connection::table(const QString &name)
{
    if (!m_schemaLoaded)
        loadSchema();
    auto it = m_tables.constFind(name.toLower());
    return it == m_tables.constEnd() ? nullptr : &*it;
}

void Connection::loadSavedQueries()
{
    m_queries.clear();
    for (const auto &[name, sql] : readSavedQueries())
        m_queries.insert(name.toLower(), {name, sql});
    m_queriesLoaded = true;
}

std::optional<QString> Connection::savedQuery(const QString &name)
{
    if (!m_queriesLoaded)
        loadSavedQueries();
    const QString key = name.toLower();
    auto it = m_queries.constFind(key);
    if (it == m_queries.constEnd())
        return std::nullopt;
    if (const auto substitute = m_substitutes.constFind(key); substitute != m_substitutes.cend())
        return substitute.value();
    return it->second;
}

QStringList Connection::savedQueryNames()
{
    if (!m_queriesLoaded)
        loadSavedQueries();
    QStringList names;
    for (const auto &q : std::as_const(m_queries))
        names << q.first;
    names.sort(Qt::CaseInsensitive);
    return names;
}

void Connection::setSavedQuery(const QString &name, const QString &sql)
{
    if (!m_queriesLoaded)
        loadSavedQueries();
    auto existing = m_queries.constFind(name.toLower());
    const QString stored = existing == m_queries.constEnd() ? name : existing->first;
    writeSavedQuery(stored, sql);
    m_queries.insert(name.toLower(), {stored, sql});
    forgetTranslationsOf(name.toLower());
}

void Connection::forgetTranslationsOf(const QString &key)
{
    // Translations that read the query are out of date now.
    for (auto it = m_translations.begin(); it != m_translations.end();) {
        if ((*it)->dependencies.contains(key))
            it = m_translations.erase(it);
        else
            ++it;
    }
}

void Connection::substituteSavedQuery(const QString &name, const QString &sql)
{
    m_substitutes.insert(name.toLower(), sql);
    forgetTranslationsOf(name.toLower());
}

void Connection::restoreSavedQuery(const QString &name)
{
    if (m_substitutes.remove(name.toLower()))
        forgetTranslationsOf(name.toLower());
}

void Connection::reloadSavedQueries()
{
    m_queriesLoaded = false;
    m_translations.clear();
}

// Translation -------------------------------------------------------------------------------

std::shared_ptr<const jet::Translation> Connection::translate(const QString &sql)
{
    auto it = m_translations.constFind(sql);
    if (it != m_translations.constEnd())
        return *it;
    auto t = std::make_shared<const jet::Translation>(jet::translate(sql, *this, dialect()));
    if (m_translations.size() > 4000)
        m_translations.clear();
    m_translations.insert(sql, t);
    return t;
}

std::shared_ptr<const jet::Translation> Connection::translateSource(const QString &sqlOrName)
{
    QString name = sqlOrName.trimmed();
    if (name.endsWith(u';'))
        name.chop(1);
    if (name.startsWith(u'[') && name.endsWith(u']'))
        name = name.mid(1, name.size() - 2);
    const bool plainName = !name.isEmpty()
                           && std::none_of(name.begin(), name.end(), [](QChar c) {
                                  return c.isSpace() || c == u'(' || c == u'\'' || c == u'"';
                              });
    if (plainName) {
        if (const jet::TableInfo *t = table(name))
            return translate(QStringLiteral("SELECT * FROM [") + t->name + u']');
        if (std::optional<QString> q = savedQuery(name))
            return translate(*q);
        throw DbError(dberr::TableNotFound,
                      QStringLiteral("Не найдена таблица или запрос «%1»").arg(name));
    }
    return translate(sqlOrName);
}

// Values ------------------------------------------------------------------------------------

QVariant storedValue(const QVariant &value, JetType type, const QString &what)
{
    const auto mismatch = [&]() -> QVariant {
        throw DbError(dberr::TypeMismatch,
                      QStringLiteral("Недопустимое значение «%1» для %2").arg(value.toString(), what));
    };
    if (value.isNull() || !value.isValid())
        return {};
    const int id = value.metaType().id();
    switch (type) {
    case JetType::Date: {
        QDateTime moment;
        if (id == QMetaType::QDate)
            moment = QDateTime(value.toDate(), QTime(0, 0));
        else if (id == QMetaType::QDateTime)
            moment = value.toDateTime();
        else
            moment = parseMoment(value.toString().trimmed());
        if (!moment.isValid())
            return mismatch();
        return moment.time() == QTime(0, 0) ? QVariant(moment.date()) : QVariant(moment);
    }
    case JetType::Long:
    case JetType::Integer: {
        if (id == QMetaType::Bool)
            return qint64(value.toBool() ? 1 : 0);
        bool ok = false;
        const qint64 v = value.toString().trimmed().toLongLong(&ok);
        if (ok)
            return v;
        const double d = value.toString().trimmed().toDouble(&ok);
        return ok ? QVariant(qRound64(d)) : mismatch();
    }
    case JetType::Double: {
        bool ok = false;
        const double d = value.toString().trimmed().replace(u',', u'.').toDouble(&ok);
        return ok ? QVariant(d) : mismatch();
    }
    case JetType::Boolean: {
        if (id == QMetaType::QString) {
            const QString t = value.toString().trimmed().toLower();
            if (t == u"true" || t == u"да" || t == u"-1" || t == u"1")
                return qint64(1);
            if (t == u"false" || t == u"нет" || t == u"0")
                return qint64(0);
            return mismatch();
        }
        return qint64(value.toBool() ? 1 : 0);
    }
    case JetType::Text:
        if (id == QMetaType::QDate)
            return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
        if (id == QMetaType::QDateTime)
            return displayDateText(value.toDateTime());
        return value.toString();
    case JetType::Unknown:
        break;
    }
    if (id == QMetaType::Bool)
        return qint64(value.toBool() ? 1 : 0);
    return value;
}

// Crosstabs ---------------------------------------------------------------------------------

Connection::PivotColumns Connection::fixedPivotColumns(const jet::Translation &t)
{
    PivotColumns columns;
    for (const QByteArray &v : t.fixedPivotValues) {
        QString name = QString::fromUtf8(v);
        if (name.startsWith(u'\'') && name.endsWith(u'\''))
            name = name.mid(1, name.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
        columns.emplace_back(QString::fromUtf8(v), name);
    }
    return columns;
}

jet::Translation Connection::crosstabStatement(const jet::Translation &t,
                                               const PivotColumns &columns,
                                               const QByteArray &collate)
{
    QByteArray sql = t.crosstabHead;
    for (const auto &[literal, name] : columns) {
        const QByteArray condition = literal.isEmpty()
                                         ? "(" + t.pivotSql + ") IS NULL"
                                         : "(" + t.pivotSql + ") = " + literal.toUtf8() + collate;
        QByteArray value = t.valueSql;
        value.replace(jet::kPivotFilter, condition);
        sql += ", CASE WHEN count(*) FILTER (WHERE " + condition + ") > 0 THEN " + value
               + " END AS " + jet::quoteName(name).toUtf8();
    }
    sql += t.crosstabTail;
    jet::Translation final;
    final.kind = jet::Translation::Kind::Select;
    final.dialect = t.dialect;
    final.sql = sql;
    final.parameters = t.parameters;
    final.outputTypes = t.outputTypes;
    for (const auto &c : columns)
        final.outputTypes.emplace_back(c.second, t.valueType);
    return final;
}

} // namespace korvesta
