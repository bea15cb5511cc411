#include "sqlitehistorylog.h"

#include "dberror.h"
#include "sqliteconnection.h"

#include <sqlite3.h>

#include <algorithm>

// The images are kept as the values themselves, one log column per table column, so that
// they are written back exactly as they were read (a real number included). A row is named by
// its rowid: the Key of a table that has one, the row's own number in a table without (the
// time of lessons, notes, tutors' exceptions).

namespace korvesta {

namespace {

constexpr const char *kStepFunction = "korvesta_history_step";
constexpr const char *kLogTable = "korvesta_history";

QByteArray quoted(const QString &name)
{
    return '"' + name.toUtf8().replace('"', "\"\"") + '"';
}

QString columnText(sqlite3_stmt *stmt, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, column)),
                             sqlite3_column_bytes(stmt, column));
}

} // namespace

struct SqliteHistoryLog::Impl
{
    struct Table
    {
        QString name;
        QByteArray quotedName;
        std::vector<QByteArray> columns; // quoted, without the key (which is the rowid)
        // Statements that write the table back: delete, insert, update.
        sqlite3_stmt *statements[3] = {nullptr, nullptr, nullptr};
    };

    std::weak_ptr<SqliteConnection> connection;
    sqlite3 *db = nullptr;
    std::vector<Table> tables;

    // A logged table's number, and a column's among its image columns; -1 when there is none.
    int tableIndex(const char *name) const
    {
        for (size_t k = 0; k < tables.size(); ++k) {
            if (tables[k].name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return int(k);
        }
        return -1;
    }
    int columnIndex(int table, const char *name) const
    {
        const std::vector<QByteArray> &columns = tables[size_t(table)].columns;
        const QByteArray wanted = quoted(QString::fromLatin1(name)).toLower();
        for (size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].toLower() == wanted)
                return int(i);
        }
        return -1;
    }
    int width = 1; // image columns of the log: the widest table's

    qint64 current = 1; // the step being written
    bool inScope = false;
    bool paused = false;     // undo and redo write: nothing is logged
    bool unrecorded = false; // logged apart, as no step (a date's protection)
    qint64 known = 0;        // the last step taken from the log

    static void stepFunction(sqlite3_context *context, int, sqlite3_value **)
    {
        auto *self = static_cast<Impl *>(sqlite3_user_data(context));
        if (self->paused)
            sqlite3_result_null(context);
        else // an unrecorded change is kept under the negative of the step it came after
            sqlite3_result_int64(context, self->unrecorded ? -self->current : self->current);
    }

    static int onCommit(void *data)
    {
        auto *self = static_cast<Impl *>(data);
        if (!self->inScope)
            ++self->current;
        return 0;
    }

    std::shared_ptr<SqliteConnection> alive() const { return connection.lock(); }

    SqliteConnection &open() const
    {
        const std::shared_ptr<SqliteConnection> c = alive();
        if (!c)
            throw DbError(dberr::Failed,
                          QStringLiteral("Документ закрыт: история изменений пуста"));
        return *c;
    }

    void exec(const QByteArray &sql)
    {
        char *message = nullptr;
        const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message);
        if (rc != SQLITE_OK) {
            const QString text = QString::fromUtf8(message ? message : sqlite3_errstr(rc));
            sqlite3_free(message);
            throw DbError::fromEngine(rc, text, QString());
        }
    }

    sqlite3_stmt *prepare(const QByteArray &sql)
    {
        sqlite3_stmt *stmt = nullptr;
        const int rc = sqlite3_prepare_v3(db, sql.constData(), int(sql.size()),
                                          SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
        if (rc != SQLITE_OK)
            throw DbError::fromEngine(rc, QString::fromUtf8(sqlite3_errmsg(db)), QString());
        return stmt;
    }

    void install(SqliteConnection &c)
    {
        {
            // A table without rowids (none of ours) has no row number to name a row by.
            SqliteConnection::Statement list(
                c, "SELECT m.name FROM main.sqlite_master AS m WHERE m.type = 'table' "
                   "AND m.name NOT LIKE 'sqlite!_%' ESCAPE '!' AND NOT EXISTS (SELECT 1 FROM "
                   "pragma_table_list AS l WHERE l.schema = 'main' AND l.name = m.name "
                   "AND l.wr) ORDER BY m.name");
            while (list.step()) {
                Table t;
                t.name = columnText(list.get(), 0);
                t.quotedName = quoted(t.name);
                tables.push_back(std::move(t));
            }
        }
        // A table another program added after the connection read the layout is left out.
        std::erase_if(tables, [&c](const Table &t) { return c.table(t.name) == nullptr; });
        for (Table &t : tables) {
            const jet::TableInfo *info = c.table(t.name);
            for (const jet::ColumnInfo &column : info->columns) {
                if (column.name.compare(info->keyColumn, Qt::CaseInsensitive) != 0
                    || info->keyColumn.isEmpty())
                    t.columns.push_back(quoted(column.name));
            }
            width = std::max(width, int(t.columns.size()));
        }

        sqlite3_create_function_v2(db, kStepFunction, 0, SQLITE_UTF8, this, &stepFunction, nullptr,
                                   nullptr, nullptr);
        sqlite3_commit_hook(db, &onCommit, this);
        // A row that INSERT OR REPLACE removes is recorded as deleted only so.
        exec("PRAGMA recursive_triggers = ON");

        QByteArray log = QByteArray("CREATE TEMP TABLE ") + kLogTable
                         + " (seq INTEGER PRIMARY KEY, step INTEGER NOT NULL, tbl INTEGER NOT "
                           "NULL, ro INTEGER, rn INTEGER";
        for (int i = 0; i < width; ++i)
            log += ", o" + QByteArray::number(i);
        for (int i = 0; i < width; ++i)
            log += ", n" + QByteArray::number(i);
        log += ")";

        const bool ownTransaction = sqlite3_get_autocommit(db) != 0;
        if (ownTransaction)
            exec("BEGIN");
        try {
            dropObjects();
            exec(log);
            exec(QByteArray("CREATE INDEX temp.korvesta_history_step ON ") + kLogTable + " (step)");
            for (size_t k = 0; k < tables.size(); ++k)
                createTriggers(int(k));
            if (ownTransaction)
                exec("COMMIT");
        } catch (...) {
            if (ownTransaction)
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

    QByteArray triggerName(int table, const char *kind) const
    {
        return QByteArray("korvesta_history_") + QByteArray::number(table) + '_' + kind;
    }

    void createTriggers(int k)
    {
        const Table &t = tables[size_t(k)];
        const QByteArray index = QByteArray::number(k);
        auto image = [&](const char *prefix, const char *row) {
            QByteArray names, values;
            for (size_t i = 0; i < t.columns.size(); ++i) {
                names += QByteArray(", ") + prefix + QByteArray::number(qsizetype(i));
                values += QByteArray(", ") + row + '.' + t.columns[i];
            }
            return std::pair{names, values};
        };
        const auto [oldNames, oldValues] = image("o", "OLD");
        const auto [newNames, newValues] = image("n", "NEW");
        auto trigger = [&](const char *kind, const char *event, const QByteArray &columns,
                           const QByteArray &values) {
            exec("CREATE TEMP TRIGGER " + triggerName(k, kind) + " AFTER " + event + " ON main."
                 + t.quotedName + " WHEN " + kStepFunction + "() BEGIN INSERT INTO " + kLogTable
                 + " (step, tbl, ro, rn" + columns + ") VALUES (" + kStepFunction + "(), " + index
                 + values + "); END");
        };
        trigger("i", "INSERT", newNames, ", NULL, NEW.rowid" + newValues);
        trigger("u", "UPDATE", oldNames + newNames,
                ", OLD.rowid, NEW.rowid" + oldValues + newValues);
        trigger("d", "DELETE", oldNames, ", OLD.rowid, NULL" + oldValues);
    }

    void dropObjects()
    {
        for (size_t k = 0; k < tables.size(); ++k) {
            for (const char *kind : {"i", "u", "d"})
                sqlite3_exec(
                    db, ("DROP TRIGGER IF EXISTS temp." + triggerName(int(k), kind)).constData(),
                    nullptr, nullptr, nullptr);
        }
        sqlite3_exec(db, (QByteArray("DROP TABLE IF EXISTS temp.") + kLogTable).constData(),
                     nullptr, nullptr, nullptr);
    }

    void uninstall()
    {
        for (Table &t : tables) {
            for (sqlite3_stmt *&s : t.statements) {
                sqlite3_finalize(s);
                s = nullptr;
            }
        }
        if (!alive())
            return; // the connection, and everything made on it, is gone
        dropObjects();
        sqlite3_commit_hook(db, nullptr, nullptr);
        sqlite3_create_function_v2(db, kStepFunction, 0, SQLITE_UTF8, nullptr, nullptr, nullptr,
                                   nullptr, nullptr);
        sqlite3_exec(db, "PRAGMA recursive_triggers = OFF", nullptr, nullptr, nullptr);
    }

    // Runs a statement with its parameter 1 bound to the step; the number its first row
    // gives (0 without a row).
    qint64 run(const QByteArray &sql, qint64 step)
    {
        sqlite3_stmt *stmt = nullptr;
        int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_bind_int64(stmt, 1, step);
            rc = sqlite3_step(stmt);
        }
        const qint64 value = rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
        sqlite3_finalize(stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw DbError::fromEngine(rc, QString::fromUtf8(sqlite3_errmsg(db)), QString());
        return value;
    }

    // Writes a step of many rows back with a few statements per table rather than one per
    // row: every row that must go still as the step left it is deleted at once, every changed
    // one set back, every one it removed put back. Only for a step that wrote each row once and kept its
    // number; false (with part of it written: the caller rolls back) when a row is no longer
    // as the step left it, so that the row-by-row way finds and names it. Throws DbError
    // (a row put back where another now stands, among others).
    bool applyWhole(qint64 step, bool undoing)
    {
        const QByteArray log = QByteArray("temp.") + kLogTable;
        // A step of a few rows is written back row by row faster than its statements are
        // prepared; one that wrote a row twice or renumbered one only row by row.
        if (run("SELECT count(*) < 32 OR coalesce(max(ro <> rn), 0) OR count(*) <> (SELECT "
                   "count(*) FROM (SELECT DISTINCT tbl, coalesce(ro, rn) FROM " + log
                       + " WHERE step = ?1)) FROM " + log + " WHERE step = ?1",
                   step))
            return false;
        const QByteArray from = undoing ? "rn" : "ro", to = undoing ? "ro" : "rn";
        const char *fromImage = undoing ? "n" : "o";
        const char *toImage = undoing ? "o" : "n";
        std::vector<int> touched;
        {
            SqliteConnection::Statement list(open(), "SELECT DISTINCT tbl FROM " + log
                                                         + " WHERE step = ?1");
            sqlite3_bind_int64(list.get(), 1, step);
            while (list.step())
                touched.push_back(sqlite3_column_int(list.get(), 0));
        }
        for (const int k : touched) {
            if (k < 0 || size_t(k) >= tables.size())
                throw DbError(dberr::Failed, QStringLiteral("История изменений повреждена"));
        }
        const auto entries = [&](int k, const QByteArray &kind) {
            return " FROM " + log + " AS l WHERE l.step = ?1 AND l.tbl = " + QByteArray::number(k)
                   + " AND " + kind;
        };
        const QByteArray removed = "l." + to + " IS NULL";
        const QByteArray changed = "l." + from + " IS NOT NULL AND l." + to + " IS NOT NULL";
        const QByteArray added = "l." + from + " IS NULL";
        // The rows the step left, as it left them: those it removes or changes back.
        for (const int k : touched) {
            const Table &t = tables[size_t(k)];
            QByteArray same = "m.rowid = l." + from;
            for (size_t i = 0; i < t.columns.size(); ++i)
                same += " AND m." + t.columns[i] + " IS l." + fromImage
                        + QByteArray::number(qsizetype(i)) + " COLLATE BINARY";
            if (run("SELECT EXISTS (SELECT 1" + entries(k, "l." + from + " IS NOT NULL")
                        + " AND NOT EXISTS (SELECT 1 FROM main." + t.quotedName + " AS m WHERE "
                        + same + "))",
                    step))
                return false;
        }
        for (const int k : touched) {
            const Table &t = tables[size_t(k)];
            run("DELETE FROM main." + t.quotedName + " WHERE rowid IN (SELECT l." + from
                    + entries(k, removed) + ")",
                step);
            if (t.columns.empty())
                continue;
            QByteArray set;
            for (size_t i = 0; i < t.columns.size(); ++i)
                set += QByteArray(i ? ", " : "") + t.columns[i] + " = l." + toImage
                       + QByteArray::number(qsizetype(i));
            run("UPDATE main." + t.quotedName + " SET " + set + " FROM " + log
                    + " AS l WHERE l.step = ?1 AND l.tbl = " + QByteArray::number(k) + " AND "
                    + changed + " AND main." + t.quotedName + ".rowid = l." + from,
                step);
        }
        for (const int k : touched) {
            const Table &t = tables[size_t(k)];
            QByteArray names = "rowid", values = "l." + to;
            for (size_t i = 0; i < t.columns.size(); ++i) {
                names += ", " + t.columns[i];
                values += QByteArray(", l.") + toImage + QByteArray::number(qsizetype(i));
            }
            run("INSERT INTO main." + t.quotedName + " (" + names + ") SELECT " + values
                    + entries(k, added) + " ORDER BY l.seq",
                step);
        }
        return true;
    }

    // A common table `k` of the keys of the dates the step's lessons (log table ?2) stand on,
    // before and after it; `day` is the image column of their date.
    static QByteArray stepDays(int day)
    {
        const QByteArray log = QByteArray("temp.") + kLogTable;
        const QByteArray n = QByteArray::number(day);
        return "WITH k(key) AS (SELECT o" + n + " FROM " + log
               + " WHERE step = ?1 AND tbl = ?2 UNION SELECT n" + n + " FROM " + log
               + " WHERE step = ?1 AND tbl = ?2) ";
    }

    sqlite3_stmt *writer(Table &t, int kind)
    {
        sqlite3_stmt *&stmt = t.statements[kind];
        if (stmt)
            return stmt;
        const int n = int(t.columns.size());
        QByteArray sql;
        auto guard = [&](int first) {
            QByteArray where = "rowid = ?" + QByteArray::number(first);
            for (int i = 0; i < n; ++i)
                where += " AND " + t.columns[size_t(i)] + " IS ?"
                         + QByteArray::number(first + 1 + i) + " COLLATE BINARY";
            return where;
        };
        if (kind == 0) { // delete the row that equals the image
            sql = "DELETE FROM main." + t.quotedName + " WHERE " + guard(1);
        } else if (kind == 1) { // insert the image
            sql = "INSERT INTO main." + t.quotedName + " (rowid";
            QByteArray values = "?1";
            for (int i = 0; i < n; ++i) {
                sql += ", " + t.columns[size_t(i)];
                values += ", ?" + QByteArray::number(2 + i);
            }
            sql += ") VALUES (" + values + ")";
        } else { // turn the row that equals one image into the other
            sql = "UPDATE main." + t.quotedName + " SET rowid = ?1";
            for (int i = 0; i < n; ++i)
                sql += ", " + t.columns[size_t(i)] + " = ?" + QByteArray::number(2 + i);
            sql += " WHERE " + guard(n + 2);
        }
        stmt = prepare(sql);
        return stmt;
    }
};

SqliteHistoryLog::SqliteHistoryLog(const std::shared_ptr<SqliteConnection> &connection)
    : d(std::make_unique<Impl>())
{
    d->connection = connection;
    d->db = connection->handle();
    try {
        d->install(*connection);
    } catch (...) {
        d->uninstall();
        throw;
    }
}

SqliteHistoryLog::~SqliteHistoryLog()
{
    d->uninstall();
}

qint64 SqliteHistoryLog::openScope()
{
    d->inScope = true;
    return d->current;
}

void SqliteHistoryLog::closeScope()
{
    d->inScope = false;
    // Inside a transaction the step ends with its commit.
    if (sqlite3_get_autocommit(d->db))
        ++d->current;
}

void SqliteHistoryLog::setUnrecorded(bool on)
{
    d->unrecorded = on;
}

std::vector<HistoryLog::Step> SqliteHistoryLog::completedSteps()
{
    std::vector<Step> found;
    if (!d->alive())
        return found;
    SqliteConnection::Statement s(d->open(), QByteArray("SELECT step, count(*) FROM temp.")
                                                 + kLogTable
                                                 + " WHERE step > ?1 AND step < ?2 GROUP BY "
                                                   "step ORDER BY step");
    sqlite3_bind_int64(s.get(), 1, d->known);
    sqlite3_bind_int64(s.get(), 2, d->current);
    while (s.step())
        found.push_back({sqlite3_column_int64(s.get(), 0), sqlite3_column_int64(s.get(), 1)});
    if (!found.empty())
        d->known = found.back().id;
    return found;
}

void SqliteHistoryLog::forget(const std::vector<qint64> &steps)
{
    if (steps.empty() || !d->alive())
        return;
    SqliteConnection::Statement s(d->open(),
                                  QByteArray("DELETE FROM temp.") + kLogTable + " WHERE step = ?1");
    for (const qint64 step : steps) {
        sqlite3_bind_int64(s.get(), 1, step);
        s.step();
        sqlite3_reset(s.get());
    }
}

bool SqliteHistoryLog::writing()
{
    return !sqlite3_get_autocommit(d->db);
}

qint64 SqliteHistoryLog::changeCount() const
{
    return d->current;
}

HistoryLog::Outcome SqliteHistoryLog::apply(qint64 step, bool undoing,
                                            const std::function<void()> &before,
                                            const std::function<QString()> &after)
{
    SqliteConnection &c = d->open();
    QString conflictTable;
    QVariantMap changedRow;
    QString refusal;
    d->paused = true;
    struct Restore
    {
        Impl &d;
        ~Restore() { d.paused = false; }
    } restore{*d};

    d->exec("BEGIN IMMEDIATE");
    try {
        if (before)
            before();
        // At once where the step allows it, else row by row (which also names a row another
        // program changed since).
        d->exec("SAVEPOINT korvesta_history_whole");
        bool whole = false;
        try {
            whole = d->applyWhole(step, undoing);
        } catch (const DbError &) {
            whole = false;
        }
        if (!whole)
            d->exec("ROLLBACK TO korvesta_history_whole");
        d->exec("RELEASE korvesta_history_whole");
        const int w = d->width;
        QByteArray sql = "SELECT tbl, ro, rn";
        for (int i = 0; i < w; ++i)
            sql += ", o" + QByteArray::number(i);
        for (int i = 0; i < w; ++i)
            sql += ", n" + QByteArray::number(i);
        sql += QByteArray(" FROM temp.") + kLogTable + " WHERE step = ?1 ORDER BY seq "
               + (undoing ? "DESC" : "ASC");
        SqliteConnection::Statement log(c, sql);
        sqlite3_bind_int64(log.get(), 1, step);
        sqlite3_stmt *row = log.get();
        // The image the row must still have, and the one it gets.
        const int fromRowid = undoing ? 2 : 1;
        const int toRowid = undoing ? 1 : 2;
        const int fromImage = undoing ? 3 + w : 3;
        const int toImage = undoing ? 3 : 3 + w;
        while (!whole && log.step()) {
            const int k = sqlite3_column_int(row, 0);
            if (k < 0 || size_t(k) >= d->tables.size())
                throw DbError(dberr::Failed, QStringLiteral("История изменений повреждена"));
            Impl::Table &t = d->tables[size_t(k)];
            const int n = int(t.columns.size());
            const bool hadRow = sqlite3_column_type(row, fromRowid) != SQLITE_NULL;
            const bool getsRow = sqlite3_column_type(row, toRowid) != SQLITE_NULL;
            sqlite3_stmt *write = nullptr;
            if (hadRow && !getsRow) {
                write = d->writer(t, 0);
                sqlite3_bind_value(write, 1, sqlite3_column_value(row, fromRowid));
                for (int i = 0; i < n; ++i)
                    sqlite3_bind_value(write, 2 + i, sqlite3_column_value(row, fromImage + i));
            } else {
                write = d->writer(t, hadRow ? 2 : 1);
                sqlite3_bind_value(write, 1, sqlite3_column_value(row, toRowid));
                for (int i = 0; i < n; ++i)
                    sqlite3_bind_value(write, 2 + i, sqlite3_column_value(row, toImage + i));
                if (hadRow) {
                    sqlite3_bind_value(write, n + 2, sqlite3_column_value(row, fromRowid));
                    for (int i = 0; i < n; ++i)
                        sqlite3_bind_value(write, n + 3 + i,
                                           sqlite3_column_value(row, fromImage + i));
                }
            }
            const int rc = sqlite3_step(write);
            const bool wrote = rc == SQLITE_DONE && (!hadRow || sqlite3_changes(d->db) == 1);
            sqlite3_reset(write);
            sqlite3_clear_bindings(write);
            if (!wrote) {
                if (rc != SQLITE_DONE && (rc & 0xff) != SQLITE_CONSTRAINT)
                    throw DbError::fromEngine(rc, QString::fromUtf8(sqlite3_errstr(rc)), c.path());
                conflictTable = t.name;
                // The row as the step left it, or as it would be given back.
                const int image = hadRow ? fromImage : toImage;
                for (int i = 0; i < n; ++i) {
                    sqlite3_value *v = sqlite3_column_value(row, image + i);
                    QVariant value;
                    switch (sqlite3_value_type(v)) {
                    case SQLITE_INTEGER:
                        value = qint64(sqlite3_value_int64(v));
                        break;
                    case SQLITE_FLOAT:
                        value = sqlite3_value_double(v);
                        break;
                    case SQLITE_TEXT:
                        value = QString::fromUtf8(
                            reinterpret_cast<const char *>(sqlite3_value_text(v)),
                            sqlite3_value_bytes(v));
                        break;
                    default:
                        break;
                    }
                    changedRow.insert(QString::fromUtf8(t.columns[size_t(i)]).remove(u'"'), value);
                }
                break;
            }
        }
        if (conflictTable.isEmpty() && after) {
            d->paused = false;
            refusal = after();
        }
        d->exec(conflictTable.isEmpty() && refusal.isEmpty() ? "COMMIT" : "ROLLBACK");
    } catch (...) {
        sqlite3_exec(d->db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    return {conflictTable, changedRow, refusal};
}

std::vector<QDate> SqliteHistoryLog::dates(qint64 step)
{
    const int lessons = d->tableIndex("tblTimeTableContent");
    if (lessons < 0)
        return {};
    const int day = d->columnIndex(lessons, "Key_TTList");
    if (day < 0)
        return {};
    const int list = d->tableIndex("tblTimeTableList");
    const int dateColumn = list >= 0 ? d->columnIndex(list, "Date") : -1;
    // The dates of the rows the lessons point at, before and after, each found by its key;
    // a date row the step removed or made is known by its image in the log.
    const QByteArray log = "temp." + QByteArray(kLogTable);
    QByteArray sql = d->stepDays(day) + "SELECT \"Date\" AS d FROM main.\"tblTimeTableList\" "
                                        "WHERE rowid IN k";
    if (list >= 0 && dateColumn >= 0) {
        for (const char *image : {"o", "n"})
            sql += " UNION SELECT g." + QByteArray(image) + QByteArray::number(dateColumn)
                   + " FROM " + log + " AS g WHERE g.step = ?1 AND g.tbl = ?3 AND g.r" + image
                   + " IN k";
    }
    SqliteConnection::Statement s(d->open(), sql + " ORDER BY 1");
    sqlite3_bind_int64(s.get(), 1, step);
    sqlite3_bind_int(s.get(), 2, lessons);
    sqlite3_bind_int(s.get(), 3, list);
    std::vector<QDate> found;
    while (s.step()) {
        const QDate date = QDate::fromString(columnText(s.get(), 0).left(10), Qt::ISODate);
        if (date.isValid())
            found.push_back(date);
    }
    return found;
}

std::vector<QDate> SqliteHistoryLog::protectedDates(qint64 step)
{
    const int lessons = d->tableIndex("tblTimeTableContent");
    const int dates = d->tableIndex("tblTimeTableList");
    if (lessons < 0 || dates < 0)
        return {};
    const int day = d->columnIndex(lessons, "Key_TTList");
    if (day < 0)
        return {};
    // A date is protected against the step when it is protected now and its protection was
    // written after the step was made (an unrecorded change, logged under a negative step).
    SqliteConnection::Statement s(
        d->open(), d->stepDays(day)
                       + "SELECT l.\"Date\" FROM main.\"tblTimeTableList\" AS l WHERE l.rowid IN "
                         "k AND l.\"ReadOnly\" <> 0 AND EXISTS (SELECT 1 FROM temp."
                       + kLogTable
                       + " AS x WHERE x.step < -?1 AND x.tbl = ?3 AND x.rn = l.rowid) ORDER BY "
                         "l.\"Date\"");
    sqlite3_bind_int64(s.get(), 1, step);
    sqlite3_bind_int(s.get(), 2, lessons);
    sqlite3_bind_int(s.get(), 3, dates);
    std::vector<QDate> found;
    while (s.step())
        found.push_back(QDate::fromString(columnText(s.get(), 0).left(10), Qt::ISODate));
    return found;
}

QStringList SqliteHistoryLog::tables(qint64 step)
{
    SqliteConnection::Statement list(d->open(), QByteArray("SELECT DISTINCT tbl FROM temp.")
                                                    + kLogTable + " WHERE step = ?1");
    sqlite3_bind_int64(list.get(), 1, step);
    QStringList names;
    while (list.step()) {
        const int k = sqlite3_column_int(list.get(), 0);
        if (k >= 0 && size_t(k) < d->tables.size())
            names << d->tables[size_t(k)].name;
    }
    return names;
}

std::vector<std::pair<int, int>> SqliteHistoryLog::lessonLines(qint64 step)
{
    const int lessons = d->tableIndex("tblTimeTableContent");
    if (lessons < 0)
        return {};
    const int group = d->columnIndex(lessons, "Key_Group");
    const int job = d->columnIndex(lessons, "Key_Job");
    if (group < 0 || job < 0)
        return {};
    const QByteArray g = QByteArray::number(group), j = QByteArray::number(job);
    const QByteArray log = "temp." + QByteArray(kLogTable);
    SqliteConnection::Statement s(d->open(), "SELECT o" + g + ", o" + j + " FROM " + log
                                                 + " WHERE step = ?1 AND tbl = ?2 AND ro IS NOT "
                                                   "NULL UNION SELECT n"
                                                 + g + ", n" + j + " FROM " + log
                                                 + " WHERE step = ?1 AND tbl = ?2 AND rn IS NOT "
                                                   "NULL");
    sqlite3_bind_int64(s.get(), 1, step);
    sqlite3_bind_int(s.get(), 2, lessons);
    std::vector<std::pair<int, int>> found;
    while (s.step())
        found.emplace_back(sqlite3_column_int(s.get(), 0), sqlite3_column_int(s.get(), 1));
    return found;
}

std::vector<History::TableChanges> SqliteHistoryLog::pending()
{
    std::vector<History::TableChanges> result;
    if (!d->alive())
        return result;
    SqliteConnection::Statement s(d->open(), QByteArray("SELECT tbl, sum(ro IS NULL), "
                                                        "sum(ro IS NOT NULL AND rn IS NOT "
                                                        "NULL), sum(rn IS NULL) FROM temp.")
                                                 + kLogTable + " WHERE step = ?1 GROUP BY tbl");
    sqlite3_bind_int64(s.get(), 1, d->current);
    while (s.step()) {
        const int k = sqlite3_column_int(s.get(), 0);
        if (k < 0 || size_t(k) >= d->tables.size())
            continue;
        result.push_back({d->tables[size_t(k)].name, sqlite3_column_int64(s.get(), 1),
                          sqlite3_column_int64(s.get(), 2), sqlite3_column_int64(s.get(), 3)});
    }
    return result;
}

} // namespace korvesta
