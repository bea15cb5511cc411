#include "bulkwrite.h"

#include "serverconnection.h"
#include "sqliteconnection.h"
#include "database.h"
#include "dberror.h"
#include "isodate.h"

#include <QDate>
#include <QRegularExpression>

#include <sqlite3.h>

namespace korvesta {

namespace {

[[noreturn]] void fail(sqlite3 *db)
{
    throw DbError(dberr::Failed,
                  QStringLiteral("Не удалось записать документ.\n")
                      + DbError::fromEngine(sqlite3_errcode(db),
                                            QString::fromUtf8(sqlite3_errmsg(db)), {})
                            .message());
}

sqlite3 *handleOf(const Database &db)
{
    return sqliteOf(*db.connection()).handle();
}

} // namespace

BulkInsert::BulkInsert(const Database &db, const char *sql)
    : m_server(dynamic_cast<ServerConnection *>(db.connection().get()))
{
    if (m_server) {
        // ? by ? to $1, $2 ...; the key of the row comes back with it.
        int n = 0;
        for (const char *c = sql; *c; ++c)
            m_serverSql += *c == '?' ? "$" + QByteArray::number(++n) : QByteArray(1, *c);
        static const QRegularExpression table(QStringLiteral("^\\s*INSERT\\s+INTO\\s+\"?(\\w+)"),
                                              QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = table.match(QString::fromUtf8(sql));
        const jet::TableInfo *info = m.hasMatch() ? m_server->table(m.captured(1)) : nullptr;
        if (info) {
            m_serverSql.replace("INSERT INTO " + m.captured(1).toUtf8(),
                                "INSERT INTO " + jet::quoteName(info->name).toUtf8());
            m_serverSql += " RETURNING "
                           + (info->keyColumn.isEmpty() ? QByteArray("korvesta_rowid")
                                                        : jet::quoteName(info->keyColumn).toUtf8());
        }
        return;
    }
    m_db = handleOf(db);
    if (sqlite3_prepare_v2(m_db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
        fail(m_db);
}

BulkInsert::~BulkInsert()
{
    sqlite3_finalize(m_stmt);
}

BulkInsert &BulkInsert::operator<<(qint64 value)
{
    if (m_server) {
        m_values.emplace_back(value);
        return *this;
    }
    sqlite3_bind_int64(m_stmt, ++m_index, value);
    return *this;
}

BulkInsert &BulkInsert::operator<<(const QString &text)
{
    if (text.isNull())
        return null();
    if (m_server) {
        m_values.emplace_back(text);
        return *this;
    }
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(m_stmt, ++m_index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

BulkInsert &BulkInsert::operator<<(const QDate &date)
{
    return *this << (date.isValid() ? isoDateText(date) : QString());
}

BulkInsert &BulkInsert::null()
{
    if (m_server) {
        m_values.emplace_back();
        return *this;
    }
    sqlite3_bind_null(m_stmt, ++m_index);
    return *this;
}

qint64 BulkInsert::run()
{
    if (m_server) {
        const PgRows rows = m_server->server().query(m_serverSql, m_values);
        m_values.clear();
        return rows.rows.empty() ? 0 : rows.rows.front().front().toLongLong();
    }
    if (sqlite3_step(m_stmt) != SQLITE_DONE)
        fail(m_db);
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    m_index = 0;
    return sqlite3_last_insert_rowid(m_db);
}

qint64 templateKey(const Database &db, const char *table, const char *field, const char *value)
{
    const QByteArray sql =
        QByteArray("SELECT \"Key\" FROM ") + table + " WHERE \"" + field + "\" = ?1";
    sqlite3_stmt *stmt = nullptr;
    qint64 key = 0;
    if (sqlite3_prepare_v2(handleOf(db), sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, value, -1, SQLITE_STATIC);
        if (sqlite3_step(stmt) == SQLITE_ROW)
            key = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
    if (key == 0)
        throw DbError(dberr::Failed, QStringLiteral("В шаблоне документа нет записи «%1» в %2")
                                         .arg(QString::fromUtf8(value), QString::fromUtf8(table)));
    return key;
}

void executeNative(const Database &db, const QByteArray &sql)
{
    if (sqlite3_exec(handleOf(db), sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(handleOf(db));
}

QStringList dropIndexes(const Database &db, const char *table)
{
    QStringList names;
    QStringList statements;
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(handleOf(db),
                       "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 "
                       "AND sql IS NOT NULL",
                       -1, &stmt, nullptr);
    sqlite3_bind_text(stmt, 1, table, -1, SQLITE_STATIC);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        names << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        statements << QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)));
    }
    sqlite3_finalize(stmt);
    for (const QString &name : names)
        executeNative(db, "DROP INDEX \"" + name.toUtf8() + '"');
    return statements;
}

} // namespace korvesta
