#pragma once

#include "jettype.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace korvesta {

class Connection;
class Recordset;

// A saved query of the document, with its parameters set by name.
class QueryDef
{
public:
    QueryDef(std::shared_ptr<Connection> connection, QString name, QString sql);

    const QString &name() const { return m_name; }
    const QString &sql() const { return m_sql; }
    // Stores the new text in the document.
    void setSql(const QString &sql);

    // Parameter names as the query declares or uses them, in order of first use.
    QStringList parameterNames() const;
    JetType parameterType(const QString &name) const;
    // Throws TooFewParameters when the query has no parameter of that name. The value is
    // converted to the declared type (a date may be given as QDate or as text
    // "dd.mm.yyyy" / "yyyy-mm-dd").
    void setParameter(const QString &name, const QVariant &value);

    // False for a statement that changes data (run it with execute()).
    bool returnsRows() const;

    // Throws TooFewParameters when a parameter has no value.
    Recordset openRecordset() const;
    int execute() const;

private:
    std::shared_ptr<Connection> m_connection;
    QString m_name;
    QString m_sql;
    std::vector<std::pair<QString, QVariant>> m_values;
};

} // namespace korvesta
