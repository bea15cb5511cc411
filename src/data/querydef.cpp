#include "querydef.h"

#include "connection.h"
#include "dberror.h"
#include "documentschema.h"
#include "recordset.h"
#include "recordset_p.h"

namespace korvesta {

QueryDef::QueryDef(std::shared_ptr<Connection> connection, QString name, QString sql)
    : m_connection(std::move(connection))
    , m_name(std::move(name))
    , m_sql(std::move(sql))
{
    ensureIntactQueries(m_connection, m_name.isEmpty() ? m_sql : m_name + u'\n' + m_sql);
}

void QueryDef::setSql(const QString &sql)
{
    ensureStorableQueryText(m_name, sql);
    ensureWritable(m_connection);
    m_connection->setSavedQuery(m_name, sql);
    m_sql = sql;
}

QStringList QueryDef::parameterNames() const
{
    QStringList names;
    for (const jet::QueryParameter &p : m_connection->translate(m_sql)->parameters)
        names << p.name;
    return names;
}

JetType QueryDef::parameterType(const QString &name) const
{
    for (const jet::QueryParameter &p : m_connection->translate(m_sql)->parameters) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return p.type;
    }
    return JetType::Unknown;
}

void QueryDef::setParameter(const QString &name, const QVariant &value)
{
    bool known = false;
    for (const jet::QueryParameter &p : m_connection->translate(m_sql)->parameters) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            known = true;
    }
    if (!known)
        throw DbError(dberr::TooFewParameters,
                      QStringLiteral("В запросе «%1» нет параметра «%2»").arg(m_name, name));
    for (auto &[n, v] : m_values) {
        if (n.compare(name, Qt::CaseInsensitive) == 0) {
            v = value;
            return;
        }
    }
    m_values.emplace_back(name, value);
}

bool QueryDef::returnsRows() const
{
    return m_connection->translate(m_sql)->kind != jet::Translation::Kind::Action;
}

namespace {

std::vector<std::optional<QVariant>>
orderedValues(const jet::Translation &t, const std::vector<std::pair<QString, QVariant>> &values)
{
    std::vector<std::optional<QVariant>> ordered(t.parameters.size());
    for (size_t i = 0; i < t.parameters.size(); ++i) {
        for (const auto &[n, v] : values) {
            if (n.compare(t.parameters[i].name, Qt::CaseInsensitive) == 0)
                ordered[i] = v;
        }
    }
    return ordered;
}

} // namespace

Recordset QueryDef::openRecordset() const
{
    const auto t = m_connection->translate(m_sql);
    return Recordset(m_connection, m_connection->query(*t, orderedValues(*t, m_values)));
}

int QueryDef::execute() const
{
    ensureWritable(m_connection);
    const auto t = m_connection->translate(m_sql);
    return m_connection->execute(*t, orderedValues(*t, m_values));
}

} // namespace korvesta
