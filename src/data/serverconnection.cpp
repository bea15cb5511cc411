#include "serverconnection.h"

#include "dberror.h"
#include "isodate.h"
#include "recordset_p.h"
#include "serverfunctions.h"

#include <QDateTime>

namespace korvesta {

namespace {

QByteArray quoted(const QString &name)
{
    return jet::quoteName(name).toUtf8();
}

// The type of a value the server gives, by the type's number, where the statement does not
// tell it.
JetType typeOfServerColumn(unsigned oid)
{
    switch (oid) {
    case 16: // bool
        return JetType::Boolean;
    case 20: // int8
    case 23: // int4
        return JetType::Long;
    case 21: // int2
        return JetType::Integer;
    case 700:
    case 701:
    case 1700:
        return JetType::Double;
    case 1082:
    case 1114:
        return JetType::Date;
    case 25:
    case 1043:
        return JetType::Text;
    default:
        return JetType::Unknown;
    }
}

QVariant asRead(QVariant v, JetType type)
{
    if (v.isNull())
        return v;
    if (type == JetType::Boolean && v.typeId() == QMetaType::LongLong)
        return v.toLongLong() != 0;
    if (v.typeId() == QMetaType::Bool && type != JetType::Boolean)
        return qint64(v.toBool() ? 1 : 0); // a comparison read as a number, as the file gives it
    return v;
}

} // namespace

ServerConnection::ServerConnection(const QString &uri)
    : Connection(uri)
    , m_server(uri)
{
    const PgRows marks = m_server.query(
        "SELECT to_regclass('\"sysDocument\"') IS NOT NULL, has_table_privilege(current_user, "
        "coalesce(to_regclass('\"tblTimeTableContent\"'), 'pg_class'::regclass), 'INSERT')");
    if (!marks.rows[0][0].toBool())
        throw DbError(dberr::ForeignFormat,
                      QStringLiteral("В базе данных «%1» нет документа расписания: создайте его "
                                     "командой korvesta server-init")
                          .arg(uri),
                      uri);
    m_readOnly = !marks.rows[0][1].toBool();
    // Other planners' changes of the timetable are announced at their commit.
    m_server.exec("LISTEN korvesta_changes");
    // A document made by an earlier version of the program gets this version's functions,
    // where the connection may create them; otherwise it works with those it has.
    const PgRows version = m_server.query(
        "SELECT coalesce((SELECT substring(prosrc FROM '[0-9]+') FROM pg_catalog.pg_proc WHERE "
        "proname = 'korvesta_functions_version' LIMIT 1), '0')");
    if (version.rows[0][0].toString().toInt() < kServerFunctionsVersion && !m_readOnly) {
        try {
            m_server.exec("BEGIN");
            m_server.exec(serverFunctions());
            m_server.exec(kInstallHistory);
            m_server.exec("COMMIT");
        } catch (const DbError &) {
            // Not the database's owner: the functions stay as they are.
            execQuietly("ROLLBACK");
        }
    }
    for (const std::vector<QVariant> &row :
         m_server
             .query("SELECT c.oid, a.attnum, c.relname, a.attname FROM pg_catalog.pg_class AS c "
                    "JOIN pg_catalog.pg_attribute AS a ON a.attrelid = c.oid WHERE "
                    "c.relnamespace = current_schema()::regnamespace AND c.relkind = 'r' AND "
                    "a.attnum > 0 AND NOT a.attisdropped")
             .rows)
        m_columnsByNumber.insert({unsigned(row[0].toLongLong()), int(row[1].toLongLong())},
                                 {row[2].toString(), row[3].toString()});
}

bool ServerConnection::stillAtPath() const
{
    return m_server.isAlive();
}

std::vector<jet::TableInfo> ServerConnection::readSchema()
{
    std::vector<jet::TableInfo> tables;
    const PgRows columns = m_server.query(
        "SELECT table_name, column_name, data_type, domain_name, is_identity FROM "
        "information_schema.columns WHERE table_schema = current_schema() ORDER BY table_name, "
        "ordinal_position");
    for (const std::vector<QVariant> &c : columns.rows) {
        const QString table = c[0].toString(), column = c[1].toString();
        if (column == u"korvesta_rowid")
            continue;
        if (tables.empty() || tables.back().name != table)
            tables.push_back({table, {}, {}});
        const QString type = c[2].toString();
        JetType jet = JetType::Text;
        if (c[3].toString() == u"korvesta_yesno")
            jet = JetType::Boolean;
        else if (type == u"integer" || type == u"bigint")
            jet = JetType::Long;
        else if (type == u"smallint")
            jet = JetType::Integer;
        else if (type == u"double precision" || type == u"numeric" || type == u"real")
            jet = JetType::Double;
        else if (type.startsWith(u"timestamp") || type == u"date")
            jet = JetType::Date;
        tables.back().columns.push_back({column, jet});
        if (c[4].toString() == u"YES")
            tables.back().keyColumn = column;
    }
    return tables;
}

std::vector<std::pair<QString, QString>> ServerConnection::readSavedQueries()
{
    std::vector<std::pair<QString, QString>> queries;
    for (const std::vector<QVariant> &row :
         m_server.query("SELECT \"Name\", \"SQL\" FROM \"sysQueries\"").rows)
        queries.emplace_back(row[0].toString(), row[1].toString());
    return queries;
}

void ServerConnection::writeSavedQuery(const QString &name, const QString &sql)
{
    m_server.query("UPDATE \"sysQueries\" SET \"SQL\" = $2 WHERE \"Name\" COLLATE \"C\" = $1",
                   {name, sql});
    if (m_server.changedRows() == 0)
        m_server.query("INSERT INTO \"sysQueries\" (\"Name\", \"SQL\") VALUES ($1, $2)",
                       {name, sql});
}

PgRows ServerConnection::statement(const QByteArray &sql, const std::vector<QVariant> &parameters,
                                   const std::vector<PgSortKey> &sort)
{
    if (m_transactionDepth == 0) {
        ++m_transactionsEnded;
        return m_server.query(sql, parameters, sort);
    }
    m_server.exec("SAVEPOINT korvesta_statement");
    try {
        PgRows rows = m_server.query(sql, parameters, sort);
        m_server.exec("RELEASE SAVEPOINT korvesta_statement");
        return rows;
    } catch (...) {
        execQuietly("ROLLBACK TO SAVEPOINT korvesta_statement");
        execQuietly("RELEASE SAVEPOINT korvesta_statement");
        throw;
    }
}

std::vector<QVariant> ServerConnection::parameters(
    const jet::Translation &t, const std::vector<std::optional<QVariant>> &values) const
{
    std::vector<QVariant> out;
    for (size_t i = 0; i < t.parameters.size(); ++i) {
        if (i >= values.size() || !values[i])
            throw DbError(dberr::TooFewParameters,
                          QStringLiteral("Слишком мало параметров: не задано значение «%1»")
                              .arg(t.parameters[i].name));
        out.push_back(storedValue(*values[i], t.parameters[i].type,
                                  QStringLiteral("параметра «%1»").arg(t.parameters[i].name)));
    }
    return out;
}

std::unique_ptr<RecordsetData> ServerConnection::query(
    const jet::Translation &t, const std::vector<std::optional<QVariant>> &values)
{
    if (t.kind == jet::Translation::Kind::Crosstab)
        return crosstab(t, values);
    if (t.kind != jet::Translation::Kind::Select)
        throw DbError(dberr::Failed, QStringLiteral("Запрос на изменение не возвращает строк"));
    std::vector<PgSortKey> sort;
    for (const jet::Translation::SortColumn &c : t.sortColumns)
        sort.push_back({c.column, c.descending});
    PgRows rows = statement(t.sql, parameters(t, values), sort);
    auto data = std::make_unique<RecordsetData>();
    const int rowids = int(t.rowidColumns.size());
    const int columns = int(rows.names.size()) - rowids - t.hiddenSortColumns;
    data->columnCount = columns;
    for (const auto &rc : t.rowidColumns) {
        const jet::TableInfo *info = table(rc.table);
        data->tables.push_back({info ? info->name : rc.table, info ? info->keyColumn : QString()});
    }
    data->origins.resize(size_t(columns));
    for (int i = 0; i < columns; ++i) {
        data->names << rows.names[i];
        JetType type = JetType::Unknown;
        for (const auto &[n, ty] : t.outputTypes) {
            if (n.compare(rows.names[i], Qt::CaseInsensitive) == 0) {
                type = ty;
                break;
            }
        }
        if (type == JetType::Unknown)
            type = typeOfServerColumn(rows.types[size_t(i)]);
        data->types.push_back(type);
        const auto origin = m_columnsByNumber.constFind({rows.tables[size_t(i)],
                                                         rows.tableColumns[size_t(i)]});
        if (origin == m_columnsByNumber.constEnd())
            continue;
        int match = -1, matches = 0;
        for (size_t k = 0; k < data->tables.size(); ++k) {
            if (data->tables[k].name.compare(origin->first, Qt::CaseInsensitive) == 0) {
                match = int(k);
                ++matches;
            }
        }
        if (matches == 1)
            data->origins[size_t(i)] = {match, origin->second};
    }
    data->cells.reserve(rows.rows.size() * size_t(columns));
    for (std::vector<QVariant> &row : rows.rows) {
        for (int i = 0; i < columns; ++i)
            data->cells.push_back(asRead(std::move(row[size_t(i)]), data->types[size_t(i)]));
        for (int k = columns; k < columns + rowids; ++k)
            data->rowids.push_back(row[size_t(k)].isNull() ? -1 : row[size_t(k)].toLongLong());
        ++data->rowCount;
    }
    data->deleted.assign(size_t(data->rowCount), 0);
    data->bof = data->eof = data->rowCount == 0;
    data->current = data->rowCount == 0 ? -1 : 0;
    return data;
}

std::unique_ptr<RecordsetData> ServerConnection::crosstab(
    const jet::Translation &t, const std::vector<std::optional<QVariant>> &values)
{
    PivotColumns columns = fixedPivotColumns(t);
    if (t.fixedPivotValues.empty()) {
        for (const std::vector<QVariant> &row :
             m_server.query(t.pivotValuesSql, parameters(t, values)).rows) {
            const QVariant &v = row.front();
            if (v.isNull()) {
                columns.emplace_back(QString(), QStringLiteral("<>"));
            } else if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime) {
                const QDateTime moment = v.typeId() == QMetaType::QDate
                                             ? QDateTime(v.toDate(), QTime(0, 0))
                                             : v.toDateTime();
                columns.emplace_back(jet::quoteText(isoMomentText(moment)),
                                     displayDateText(moment));
            } else if (v.typeId() == QMetaType::QString) {
                columns.emplace_back(jet::quoteText(v.toString()), v.toString());
            } else {
                const QString number = v.typeId() == QMetaType::Double
                                           ? QString::number(v.toDouble(), 'g', 17)
                                           : v.toString();
                columns.emplace_back(number, number);
            }
        }
    }
    return query(crosstabStatement(t, columns,
                                   t.pivotIsText ? " COLLATE korvesta_nocase" : ""),
                 values);
}

int ServerConnection::execute(const jet::Translation &t,
                              const std::vector<std::optional<QVariant>> &values)
{
    if (t.kind != jet::Translation::Kind::Action)
        throw DbError(dberr::Failed,
                      QStringLiteral("Выполнить можно только запрос на изменение данных"));
    statement(t.sql, parameters(t, values));
    return int(m_server.changedRows());
}

void ServerConnection::beginWrite()
{
    m_server.exec("BEGIN");
}

void ServerConnection::exec(const char *sql)
{
    if (qstrcmp(sql, "COMMIT") == 0 || qstrcmp(sql, "ROLLBACK") == 0)
        ++m_transactionsEnded;
    m_server.exec(sql);
}

void ServerConnection::execQuietly(const char *sql) noexcept
{
    try {
        exec(sql);
    } catch (...) {
        // Taking back what a lost connection held: the server does it by itself.
    }
}

void ServerConnection::lockDates(const std::vector<qint64> &days)
{
    if (days.empty())
        return;
    QStringList list;
    for (const qint64 day : days)
        list << QString::number(day);
    // The load shared first, then the days one by one in the order given (ascending): the
    // function scan reads the array in its order.
    m_server.query("SELECT pg_advisory_xact_lock_shared($1, 0), (SELECT "
                   "count(pg_advisory_xact_lock($2, d::integer)) FROM unnest($3::bigint[]) AS d)",
                   {kLoadLock, kDateLocks, QStringLiteral("{%1}").arg(list.join(u','))});
}

void ServerConnection::lockDateCells(qint64 day, const std::vector<int> &lessons,
                                     const std::vector<int> &groups,
                                     const std::vector<int> &tutors)
{
    QStringList keys; // ascending: lessons, then groups, then tutors, each in order
    for (const int lesson : lessons)
        keys << QString::number(kCellLocks + (day << 8) + (lesson & 0xff));
    for (const int group : groups)
        keys << QString::number(kDayGroupLocks + (day << 24) + (group & 0xffffff));
    for (const int tutor : tutors)
        keys << QString::number(kDayTutorLocks + (day << 24) + (tutor & 0xffffff));
    // The load shared, the day shared (a command holding it whole excludes this one), then
    // the keys one by one in the array's order.
    m_server.query("SELECT pg_advisory_xact_lock_shared($1, 0), pg_advisory_xact_lock_shared($2, "
                   "$3::integer), (SELECT count(pg_advisory_xact_lock(k)) FROM unnest($4::bigint[]) "
                   "AS k)",
                   {kLoadLock, kDateLocks, day, QStringLiteral("{%1}").arg(keys.join(u','))});
}

void ServerConnection::lockLoadLines(const std::vector<std::pair<int, int>> &lines)
{
    QStringList list;
    for (const auto &[group, job] : lines)
        list << QString::number(kLineLocks + (qint64(group) << 24) + qint64(job));
    m_server.query("SELECT count(pg_advisory_xact_lock(k)) FROM unnest($1::bigint[]) AS k",
                   {QStringLiteral("{%1}").arg(list.join(u','))});
}

void ServerConnection::allowProtectedDates()
{
    m_server.query("SELECT set_config('korvesta.unprotected', 'on', true)");
}

bool ServerConnection::hasEditPassword()
{
    return statement("SELECT korvesta_edit_password_set()", {}).rows.at(0).at(0).toBool();
}

bool ServerConnection::giveEditPassword(const QString &password)
{
    return statement("SELECT korvesta_give_edit_password($1)", {password})
        .rows.at(0)
        .at(0)
        .toBool();
}

bool ServerConnection::changeEditPassword(const QString &present, const QString &wanted)
{
    return statement("SELECT korvesta_change_edit_password($1, $2)", {present, wanted})
        .rows.at(0)
        .at(0)
        .toBool();
}

void ServerConnection::lockLoad()
{
    m_server.query("SELECT pg_advisory_xact_lock($1, 0)", {kLoadLock});
}

QByteArray ServerConnection::rowNumber(const QString &tableName)
{
    const jet::TableInfo *info = table(tableName);
    return info && !info->keyColumn.isEmpty() ? quoted(info->keyColumn)
                                              : QByteArray("korvesta_rowid");
}

qint64 ServerConnection::nextKey(const QString &tableName)
{
    const jet::TableInfo *info = table(tableName);
    if (!info || info->keyColumn.isEmpty())
        return 0;
    return m_server
        .query("SELECT nextval(pg_get_serial_sequence($1, $2))",
               {QString::fromUtf8(quoted(info->name)), info->keyColumn})
        .rows[0][0]
        .toLongLong();
}

void ServerConnection::updateRow(const QString &tableName, qint64 row,
                                 const std::vector<FieldValue> &values)
{
    QByteArrayList sets;
    std::vector<QVariant> params;
    for (const FieldValue &v : values) {
        params.push_back(storedValue(v.value, v.type, v.what));
        sets << quoted(v.column) + " = $" + QByteArray::number(params.size());
    }
    params.push_back(row);
    statement("UPDATE " + quoted(tableName) + " SET " + sets.join(", ") + " WHERE "
                       + rowNumber(tableName) + " = $" + QByteArray::number(params.size()),
                   params);
}

qint64 ServerConnection::insertRow(const QString &tableName, const QString &keyColumn,
                                   qint64 key, const std::vector<FieldValue> &values)
{
    QByteArrayList names, marks;
    std::vector<QVariant> params;
    if (!keyColumn.isEmpty()) {
        params.push_back(key);
        names << quoted(keyColumn);
        marks << "$1";
    }
    for (const FieldValue &v : values) {
        params.push_back(storedValue(v.value, v.type, v.what));
        names << quoted(v.column);
        marks << "$" + QByteArray::number(params.size());
    }
    const QByteArray sql =
        names.isEmpty() ? "INSERT INTO " + quoted(tableName) + " DEFAULT VALUES"
                        : "INSERT INTO " + quoted(tableName) + " (" + names.join(", ")
                              + ") VALUES (" + marks.join(", ") + ")";
    return statement(sql + " RETURNING " + rowNumber(tableName), params)
        .rows[0][0]
        .toLongLong();
}

std::vector<QVariant> ServerConnection::readRow(const QString &tableName, qint64 row,
                                                const QStringList &columns)
{
    QByteArrayList names;
    for (const QString &c : columns)
        names << quoted(c);
    const PgRows rows = m_server.query("SELECT " + names.join(", ") + " FROM "
                                           + quoted(tableName) + " WHERE "
                                           + rowNumber(tableName) + " = $1",
                                       {row});
    if (rows.rows.empty())
        return std::vector<QVariant>(size_t(columns.size()));
    std::vector<QVariant> values = rows.rows.front();
    for (QVariant &v : values) {
        if (v.typeId() == QMetaType::QDate)
            v = isoDateText(v.toDate());
        else if (v.typeId() == QMetaType::QDateTime)
            v = isoMomentText(v.toDateTime());
    }
    return values;
}

void ServerConnection::deleteRow(const QString &tableName, qint64 row)
{
    statement("DELETE FROM " + quoted(tableName) + " WHERE " + rowNumber(tableName)
                       + " = $1",
                   {row});
}

} // namespace korvesta
