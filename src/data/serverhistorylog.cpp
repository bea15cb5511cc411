#include "serverhistorylog.h"

#include "dberror.h"
#include "serverconnection.h"

#include <QJsonDocument>
#include <QJsonObject>

// The log's steps are numbered as the triggers write them: a transaction's own rows under
// the negative of its transaction number, a grouped step's under its positive number, and
// rows that are no step under 0. A step is complete once its transaction has ended and its
// scope has closed.

namespace korvesta {

namespace {

constexpr const char *kCreateLog =
    "CREATE TEMP TABLE IF NOT EXISTS korvesta_history (seq bigserial PRIMARY KEY, step bigint "
    "NOT NULL, batch bigint NOT NULL, tbl text NOT NULL, rk text NOT NULL, kind \"char\" NOT "
    "NULL, rn bigint, o jsonb, n jsonb, xid bigint DEFAULT txid_current()); "
    "CREATE INDEX IF NOT EXISTS korvesta_history_step ON pg_temp.korvesta_history (step); "
    "CREATE INDEX IF NOT EXISTS korvesta_history_batch ON pg_temp.korvesta_history (batch); "
    "CREATE TEMP SEQUENCE IF NOT EXISTS korvesta_history_batches; "
    "TRUNCATE pg_temp.korvesta_history";

// The rows of the open transaction: part of no completed step yet.
constexpr const char *kOwnRows = "xid = txid_current_if_assigned()";

// The dates a query found, in its first column.
std::vector<QDate> datesOf(const PgRows &rows)
{
    std::vector<QDate> found;
    for (const std::vector<QVariant> &row : rows.rows)
        found.push_back(row[0].toDate());
    return found;
}

} // namespace

ServerHistoryLog::ServerHistoryLog(const std::shared_ptr<ServerConnection> &connection)
    : m_connection(connection)
{
    connection->server().exec(kCreateLog);
    setMode();
}

ServerHistoryLog::~ServerHistoryLog()
{
    const std::shared_ptr<ServerConnection> c = m_connection.lock();
    if (!c || !c->server().isAlive())
        return;
    try {
        c->server().exec("SELECT set_config('korvesta.history', '', false); "
                         "DROP TABLE IF EXISTS pg_temp.korvesta_history");
    } catch (const DbError &) {
        // In the middle of a failed transaction: the log goes with the session.
    }
}

ServerConnection &ServerHistoryLog::open() const
{
    const std::shared_ptr<ServerConnection> c = m_connection.lock();
    if (!c)
        throw DbError(dberr::Failed, QStringLiteral("Документ закрыт: история изменений пуста"));
    return *c;
}

void ServerHistoryLog::setMode()
{
    const QString mode = m_unrecorded  ? QStringLiteral("unrecorded")
                         : m_scope > 0 ? QString::number(m_scope)
                                       : QStringLiteral("on");
    open().server().query("SELECT set_config('korvesta.history', $1, false)", {mode});
}

qint64 ServerHistoryLog::openScope()
{
    m_scope = ++m_scopes;
    setMode();
    return m_scope;
}

void ServerHistoryLog::closeScope()
{
    m_scope = 0;
    setMode();
}

void ServerHistoryLog::setUnrecorded(bool on)
{
    m_unrecorded = on;
    setMode();
}

std::vector<HistoryLog::Step> ServerHistoryLog::completedSteps()
{
    std::vector<Step> found;
    const std::shared_ptr<ServerConnection> c = m_connection.lock();
    if (!c)
        return found;
    const PgRows rows = c->server().query(
        QByteArray("SELECT step, count(*), max(seq) FROM pg_temp.korvesta_history WHERE seq > $1 "
                   "AND step <> 0 AND step <> $2 AND (")
            + kOwnRows + ") IS NOT TRUE GROUP BY step ORDER BY min(seq)",
        {m_known, m_scope});
    for (const std::vector<QVariant> &row : rows.rows) {
        found.push_back({row[0].toLongLong(), row[1].toLongLong()});
        m_known = std::max(m_known, row[2].toLongLong());
    }
    return found;
}

void ServerHistoryLog::forget(const std::vector<qint64> &steps)
{
    const std::shared_ptr<ServerConnection> c = m_connection.lock();
    if (steps.empty() || !c)
        return;
    QStringList list;
    for (const qint64 step : steps)
        list << QString::number(step);
    c->server().query("DELETE FROM pg_temp.korvesta_history WHERE step = ANY ($1::bigint[])",
                      {QStringLiteral("{%1}").arg(list.join(QLatin1Char(',')))});
}

bool ServerHistoryLog::writing()
{
    return open().server().inTransaction();
}

qint64 ServerHistoryLog::changeCount() const
{
    const std::shared_ptr<ServerConnection> c = m_connection.lock();
    return c ? c->transactionsEnded() : 0;
}

HistoryLog::Outcome ServerHistoryLog::apply(qint64 step, bool undoing,
                                            const std::function<void()> &before,
                                            const std::function<QString()> &after)
{
    ServerConnection &c = open();
    c.exec("BEGIN");
    try {
        if (before)
            before();
        const PgRows rows =
            c.server().query("SELECT korvesta_history_apply($1, $2)", {step, undoing});
        const QString conflict = rows.rows.at(0).at(0).toString();
        const QString conflictTable = conflict.section(u'\n', 0, 0);
        const QVariantMap changedRow =
            QJsonDocument::fromJson(conflict.section(u'\n', 1).toUtf8()).object().toVariantMap();
        // The images are written: the rest of the transaction is the program's own again.
        c.server().query("SELECT set_config('korvesta.history', '', true)");
        const QString refusal = conflictTable.isEmpty() && after ? after() : QString();
        c.exec(conflictTable.isEmpty() && refusal.isEmpty() ? "COMMIT" : "ROLLBACK");
        return {conflictTable, changedRow, refusal};
    } catch (...) {
        c.execQuietly("ROLLBACK");
        throw;
    }
}

std::vector<QDate> ServerHistoryLog::dates(qint64 step)
{
    ServerConnection &c = open();
    const jet::TableInfo *list = c.table(QStringLiteral("tblTimeTableList"));
    if (!list || list->keyColumn.isEmpty())
        return {};
    const QByteArray key = '"' + list->keyColumn.toUtf8() + '"';
    // A date row the step removed or made is known by its image in the log.
    const PgRows rows = c.server().query(
        "WITH days AS (SELECT l." + key + "::bigint AS k, l.\"Date\" AS d FROM "
        "\"tblTimeTableList\" AS l UNION SELECT (v.img ->> '" + list->keyColumn.toUtf8()
        + "')::bigint, (v.img ->> 'Date')::timestamp FROM pg_temp.korvesta_history AS h, "
          "LATERAL (VALUES (h.o), (h.n)) AS v(img) WHERE h.step = $1 AND h.tbl = "
          "'tblTimeTableList' AND v.img IS NOT NULL) SELECT DISTINCT days.d FROM "
          "pg_temp.korvesta_history AS h JOIN days ON days.k IN ((h.o ->> 'Key_TTList')::bigint, "
          "(h.n ->> 'Key_TTList')::bigint) WHERE h.step = $1 AND h.tbl = 'tblTimeTableContent' "
          "ORDER BY days.d",
        {step});
    return datesOf(rows);
}

QStringList ServerHistoryLog::tables(qint64 step)
{
    QStringList names;
    const PgRows rows = open().server().query(
        "SELECT DISTINCT tbl FROM pg_temp.korvesta_history WHERE step = $1", {step});
    for (const std::vector<QVariant> &row : rows.rows)
        names << row.at(0).toString();
    return names;
}

std::vector<std::pair<int, int>> ServerHistoryLog::lessonLines(qint64 step)
{
    const PgRows rows = open().server().query(
        "SELECT DISTINCT (v.img ->> 'Key_Group')::integer, (v.img ->> 'Key_Job')::integer FROM "
        "pg_temp.korvesta_history AS h, LATERAL (VALUES (h.o), (h.n)) AS v(img) WHERE h.step = "
        "$1 AND h.tbl = 'tblTimeTableContent' AND v.img IS NOT NULL",
        {step});
    std::vector<std::pair<int, int>> found;
    for (const std::vector<QVariant> &row : rows.rows)
        found.emplace_back(row.at(0).toInt(), row.at(1).toInt());
    return found;
}

std::vector<QDate> ServerHistoryLog::protectedDates(qint64 step)
{
    ServerConnection &c = open();
    const jet::TableInfo *dates = c.table(QStringLiteral("tblTimeTableList"));
    if (!dates || dates->keyColumn.isEmpty() || !c.table(QStringLiteral("tblTimeTableContent")))
        return {};
    // A date is protected against the step when it is protected now and its protection was
    // written after the step was made (a change that is no step, logged later).
    const QByteArray key = '"' + dates->keyColumn.toUtf8() + '"';
    const PgRows rows = c.server().query(
        "SELECT DISTINCT l.\"Date\" FROM pg_temp.korvesta_history AS h JOIN "
        "\"tblTimeTableList\" AS l ON l."
            + key
            + " IN ((h.o ->> 'Key_TTList')::bigint, "
              "(h.n ->> 'Key_TTList')::bigint) WHERE h.step = $1 AND h.tbl = 'tblTimeTableContent' "
              "AND l.\"ReadOnly\" <> 0 AND EXISTS (SELECT 1 FROM pg_temp.korvesta_history AS k "
              "WHERE k.step = 0 AND k.tbl = 'tblTimeTableList' AND k.rn = l."
            + key
            + " AND k.seq > "
              "(SELECT max(s.seq) FROM pg_temp.korvesta_history AS s WHERE s.step = $1)) "
              "ORDER BY l.\"Date\"",
        {step});
    return datesOf(rows);
}

std::vector<History::TableChanges> ServerHistoryLog::pending()
{
    std::vector<History::TableChanges> result;
    const std::shared_ptr<ServerConnection> c = m_connection.lock();
    if (!c)
        return result;
    const PgRows rows = c->server().query(
        QByteArray("SELECT tbl, count(*) FILTER (WHERE kind = 'i'), count(*) FILTER (WHERE kind "
                   "= 'u'), count(*) FILTER (WHERE kind = 'd') FROM pg_temp.korvesta_history "
                   "WHERE step <> 0 AND ")
        + kOwnRows + " GROUP BY tbl");
    for (const std::vector<QVariant> &row : rows.rows)
        result.push_back(
            {row[0].toString(), row[1].toLongLong(), row[2].toLongLong(), row[3].toLongLong()});
    return result;
}

} // namespace korvesta
