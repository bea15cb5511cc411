#include "history.h"

#include "sqliteconnection.h"
#include "dberror.h"

#include <QDate>

#include <sqlite3.h>

#include <algorithm>
#include <map>

// The history is recorded by temporary triggers of the connection: after each insert, update
// and delete of a row of a document table they add the row's before and after image to a
// temporary log table. Nothing of it is stored in the file, so another program (the sqlite3
// shell included) sees the document as it is. The images are kept as the values themselves,
// one log column per table column, so that they are written back exactly as they were read
// (a real number included). A row is named by its rowid: the Key of a table that has one,
// the row's own number in a table without (the time of lessons, notes, tutors' exceptions).

namespace korvesta {

namespace {

constexpr const char *kStepFunction = "korvesta_history_step";
constexpr const char *kLogTable = "korvesta_history";
const QString kDefaultCaption = QStringLiteral("изменение данных");

QByteArray quoted(const QString &name)
{
    return '"' + name.toUtf8().replace('"', "\"\"") + '"';
}

QString columnText(sqlite3_stmt *stmt, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, column)),
                             sqlite3_column_bytes(stmt, column));
}

std::unique_ptr<History> &currentHistory()
{
    static std::unique_ptr<History> history;
    return history;
}

} // namespace

struct History::Impl
{
    struct Table
    {
        QString name;
        QByteArray quotedName;
        std::vector<QByteArray> columns; // quoted, without the key (which is the rowid)
        // Statements that write the table back: delete, insert, update.
        sqlite3_stmt *statements[3] = {nullptr, nullptr, nullptr};
    };
    struct StepInfo
    {
        qint64 id = 0;
        QString caption;
        qint64 rows = 0;
    };

    std::weak_ptr<Connection> connection;
    sqlite3 *db = nullptr;
    std::vector<Table> tables;
    int width = 1; // image columns of the log: the widest table's

    qint64 current = 1; // the step being written
    int scopeDepth = 0;
    bool paused = false;     // undo and redo write: nothing is logged
    bool unrecorded = false; // logged apart, as no step (a date's protection)
    qint64 known = 0; // the last step taken from the log
    std::map<qint64, QString> captions;
    std::vector<StepInfo> done;   // oldest first
    std::vector<StepInfo> undone; // the one to redo last

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
        if (self->scopeDepth == 0)
            ++self->current;
        return 0;
    }

    std::shared_ptr<Connection> alive() const { return connection.lock(); }

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

    void forgetSteps(SqliteConnection &c, const std::vector<StepInfo> &steps)
    {
        if (steps.empty())
            return;
        SqliteConnection::Statement s(c,
                                QByteArray("DELETE FROM temp.") + kLogTable + " WHERE step = ?1");
        for (const StepInfo &step : steps) {
            sqlite3_bind_int64(s.get(), 1, step.id);
            s.step();
            sqlite3_reset(s.get());
        }
    }

    // Takes the steps completed since the last look from the log. A new step drops what
    // could be redone.
    void sync()
    {
        const std::shared_ptr<Connection> c = alive();
        if (!c)
            return;
        std::vector<std::pair<qint64, qint64>> found; // step, rows
        {
            SqliteConnection::Statement s(sqliteOf(sqliteOf(*c)), QByteArray("SELECT step, count(*) FROM temp.") + kLogTable
                                            + " WHERE step > ?1 AND step < ?2 GROUP BY step "
                                              "ORDER BY step");
            sqlite3_bind_int64(s.get(), 1, known);
            sqlite3_bind_int64(s.get(), 2, current);
            while (s.step())
                found.emplace_back(sqlite3_column_int64(s.get(), 0),
                                   sqlite3_column_int64(s.get(), 1));
        }
        if (found.empty())
            return;
        known = found.back().first;
        forgetSteps(sqliteOf(sqliteOf(*c)), undone);
        undone.clear();
        for (const auto &[id, rows] : found) {
            auto caption = captions.find(id);
            done.push_back(
                {id, caption == captions.end() ? kDefaultCaption : caption->second, rows});
        }
        captions.erase(captions.begin(), captions.upper_bound(known));
        // The oldest steps go beyond the limit, and while the steps hold more rows than
        // memory should (the last step is always kept).
        qint64 total = 0;
        for (const StepInfo &step : done)
            total += step.rows;
        size_t excess = done.size() > size_t(kStepLimit) ? done.size() - size_t(kStepLimit) : 0;
        for (size_t i = 0; i < excess; ++i)
            total -= done[i].rows;
        while (excess + 1 < done.size() && total > kRowLimit)
            total -= done[excess++].rows;
        if (excess > 0) {
            const auto end = done.begin() + qsizetype(excess);
            forgetSteps(sqliteOf(sqliteOf(*c)), std::vector<StepInfo>(done.begin(), end));
            done.erase(done.begin(), end);
        }
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

// ---------------------------------------------------------------------------------------------

History::History(const std::shared_ptr<Connection> &connection)
    : d(std::make_unique<Impl>())
{
    d->connection = connection;
    d->db = sqliteOf(*connection).handle();
    try {
        d->install(sqliteOf(*connection));
    } catch (...) {
        d->uninstall();
        throw;
    }
}

History::~History()
{
    d->uninstall();
}

History *History::attach(const Database &db)
{
    const std::shared_ptr<Connection> c = db.connection();
    std::unique_ptr<History> &held = currentHistory();
    if (held && held->d->alive() == c)
        return held.get();
    held.reset();
    // The history is kept by the file engine's own triggers; a server document has none yet.
    if (!c || db.isReadOnly() || !dynamic_cast<SqliteConnection *>(c.get()))
        return nullptr;
    held.reset(new History(c));
    return held.get();
}

History *History::of(const Database &db)
{
    std::unique_ptr<History> &held = currentHistory();
    if (held && held->d->alive() == db.connection())
        return held.get();
    return nullptr;
}

History *History::current()
{
    return currentHistory().get();
}

qint64 History::changeCount() const
{
    return d->current;
}

void History::detachAll()
{
    currentHistory().reset();
}

History::Step::Step(const Database &db, const QString &caption)
    : m_history(History::of(db))
    , m_connection(db.connection())
{
    if (!m_history)
        return;
    Impl &d = *m_history->d;
    if (d.scopeDepth++ == 0)
        d.captions[d.current] = caption;
}

History::Step::~Step()
{
    if (!m_history || currentHistory().get() != m_history
        || m_history->d->alive() != m_connection.lock())
        return;
    Impl &d = *m_history->d;
    // Inside a transaction the step ends with its commit.
    if (--d.scopeDepth == 0 && sqlite3_get_autocommit(d.db))
        ++d.current;
}

History::Unrecorded::Unrecorded(const Database &db)
    : m_history(History::of(db))
{
    if (m_history) {
        m_wasPaused = m_history->d->unrecorded;
        m_history->d->unrecorded = true;
    }
}

History::Unrecorded::~Unrecorded()
{
    if (m_history && currentHistory().get() == m_history)
        m_history->d->unrecorded = m_wasPaused;
}

bool History::canUndo()
{
    d->sync();
    return !d->done.empty();
}

bool History::canRedo()
{
    d->sync();
    return !d->undone.empty();
}

QString History::undoCaption()
{
    d->sync();
    return d->done.empty() ? QString() : d->done.back().caption;
}

QString History::redoCaption()
{
    d->sync();
    return d->undone.empty() ? QString() : d->undone.back().caption;
}

QStringList History::undoCaptions()
{
    d->sync();
    QStringList list;
    for (auto it = d->done.rbegin(); it != d->done.rend(); ++it)
        list << it->caption;
    return list;
}

QStringList History::redoCaptions()
{
    d->sync();
    QStringList list;
    for (auto it = d->undone.rbegin(); it != d->undone.rend(); ++it)
        list << it->caption;
    return list;
}

void History::clear()
{
    d->sync();
    if (const std::shared_ptr<Connection> c = d->alive()) {
        d->forgetSteps(sqliteOf(sqliteOf(*c)), d->done);
        d->forgetSteps(sqliteOf(sqliteOf(*c)), d->undone);
    }
    d->done.clear();
    d->undone.clear();
}

void History::undo()
{
    apply(true);
}

void History::redo()
{
    apply(false);
}

void History::apply(bool undoing)
{
    d->sync();
    std::vector<Impl::StepInfo> &from = undoing ? d->done : d->undone;
    std::vector<Impl::StepInfo> &to = undoing ? d->undone : d->done;
    if (from.empty())
        throw DbError(dberr::Failed, undoing ? QStringLiteral("Отменять нечего")
                                             : QStringLiteral("Повторять нечего"));
    const std::shared_ptr<Connection> c = d->alive();
    if (!c)
        throw DbError(dberr::Failed, QStringLiteral("Документ закрыт: история изменений пуста"));
    // A document replaced on disk is another document: its rows are not those of the steps.
    const std::shared_ptr<Connection> now = Connection::acquire(c->path(), false);
    if (now != c) {
        clear();
        throw DbError(dberr::Failed,
                      QStringLiteral("Файл документа «%1» заменён другим файлом. Отменять и "
                                     "повторять в нём нечего: история изменений очищена")
                          .arg(c->path()));
    }
    if (c->m_transactionDepth > 0 || !sqlite3_get_autocommit(d->db))
        throw DbError(dberr::Failed,
                      QStringLiteral("Документ записывается: отмена и повтор сейчас невозможны"));

    const Impl::StepInfo step = from.back();
    if (const QStringList dates = protectedDatesOf(sqliteOf(sqliteOf(*c)), step.id); !dates.isEmpty())
        throw DbError(dberr::Failed,
                      QStringLiteral("%1 «%2» невозможно: %3 для редактирования. Документ "
                                     "оставлен без изменений")
                          .arg(undoing ? QStringLiteral("Отменить") : QStringLiteral("Повторить"),
                               step.caption,
                               dates.size() == 1
                                   ? QStringLiteral("дата %1 заблокирована").arg(dates.front())
                                   : QStringLiteral("даты %1 заблокированы")
                                         .arg(dates.join(QStringLiteral(", ")))));
    QString conflictTable;
    d->paused = true;
    ++c->m_transactionDepth;
    struct Restore
    {
        Impl &d;
        Connection &c;
        ~Restore()
        {
            d.paused = false;
            --c.m_transactionDepth;
        }
    } restore{*d, *c};

    d->exec("BEGIN IMMEDIATE");
    try {
        const int w = d->width;
        QByteArray sql = "SELECT tbl, ro, rn";
        for (int i = 0; i < w; ++i)
            sql += ", o" + QByteArray::number(i);
        for (int i = 0; i < w; ++i)
            sql += ", n" + QByteArray::number(i);
        sql += QByteArray(" FROM temp.") + kLogTable + " WHERE step = ?1 ORDER BY seq "
               + (undoing ? "DESC" : "ASC");
        SqliteConnection::Statement log(sqliteOf(sqliteOf(*c)), sql);
        sqlite3_bind_int64(log.get(), 1, step.id);
        sqlite3_stmt *row = log.get();
        // The image the row must still have, and the one it gets.
        const int fromRowid = undoing ? 2 : 1;
        const int toRowid = undoing ? 1 : 2;
        const int fromImage = undoing ? 3 + w : 3;
        const int toImage = undoing ? 3 : 3 + w;
        while (log.step()) {
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
                    throw DbError::fromEngine(rc, QString::fromUtf8(sqlite3_errstr(rc)), c->path());
                conflictTable = t.name;
                break;
            }
        }
        if (!conflictTable.isEmpty()) {
            d->exec("ROLLBACK");
        } else {
            d->exec("COMMIT");
        }
    } catch (...) {
        sqlite3_exec(d->db, "ROLLBACK", nullptr, nullptr, nullptr);
        c->reloadSavedQueries();
        throw;
    }
    c->reloadSavedQueries();
    if (!conflictTable.isEmpty())
        throw DbError(dberr::Failed,
                      QStringLiteral("%1 «%2» невозможно: после него эти данные (таблица %3) "
                                     "изменила другая программа. Документ оставлен без "
                                     "изменений")
                          .arg(undoing ? QStringLiteral("Отменить") : QStringLiteral("Повторить"),
                               step.caption, conflictTable));
    from.pop_back();
    to.push_back(step);
}

QStringList History::protectedDatesOf(SqliteConnection &c, qint64 step)
{
    const auto tableIndex = [&](const char *name) {
        for (size_t k = 0; k < d->tables.size(); ++k) {
            if (d->tables[k].name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return int(k);
        }
        return -1;
    };
    const auto columnIndex = [&](int table, const char *name) {
        const std::vector<QByteArray> &columns = d->tables[size_t(table)].columns;
        const QByteArray wanted = quoted(QString::fromLatin1(name)).toLower();
        for (size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].toLower() == wanted)
                return int(i);
        }
        return -1;
    };
    const int lessons = tableIndex("tblTimeTableContent");
    const int dates = tableIndex("tblTimeTableList");
    if (lessons < 0 || dates < 0)
        return {};
    const int day = columnIndex(lessons, "Key_TTList");
    if (day < 0)
        return {};
    // A date is protected against the step when it is protected now and its protection was
    // written after the step was made (an unrecorded change, logged under a negative step).
    const QByteArray o = "h.o" + QByteArray::number(day);
    const QByteArray n = "h.n" + QByteArray::number(day);
    SqliteConnection::Statement s(
        c, "SELECT DISTINCT l.\"Date\" FROM temp." + QByteArray(kLogTable)
               + " AS h JOIN main.\"tblTimeTableList\" AS l ON l.rowid IN (" + o + ", " + n
               + ") WHERE h.step = ?1 AND h.tbl = ?2 AND l.\"ReadOnly\" <> 0 AND EXISTS "
                 "(SELECT 1 FROM temp."
               + kLogTable
               + " AS k WHERE k.step < -?1 AND k.tbl = ?3 AND k.rn = l.rowid) "
                 "ORDER BY l.\"Date\"");
    sqlite3_bind_int64(s.get(), 1, step);
    sqlite3_bind_int(s.get(), 2, lessons);
    sqlite3_bind_int(s.get(), 3, dates);
    QStringList found;
    while (s.step()) {
        const QDate date = QDate::fromString(columnText(s.get(), 0).left(10), Qt::ISODate);
        found << (date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy"))
                                 : columnText(s.get(), 0));
    }
    return found;
}

std::vector<History::TableChanges> History::pendingChanges()
{
    std::vector<TableChanges> result;
    const std::shared_ptr<Connection> c = d->alive();
    if (!c)
        return result;
    SqliteConnection::Statement s(sqliteOf(sqliteOf(*c)), QByteArray("SELECT tbl, sum(ro IS NULL), "
                                           "sum(ro IS NOT NULL AND rn IS NOT NULL), "
                                           "sum(rn IS NULL) FROM temp.")
                                    + kLogTable + " WHERE step = ?1 GROUP BY tbl");
    sqlite3_bind_int64(s.get(), 1, d->current);
    while (s.step()) {
        const int k = sqlite3_column_int(s.get(), 0);
        if (k < 0 || size_t(k) >= d->tables.size())
            continue;
        result.push_back({d->tables[size_t(k)].name, sqlite3_column_int64(s.get(), 1),
                          sqlite3_column_int64(s.get(), 2), sqlite3_column_int64(s.get(), 3)});
    }
    std::sort(result.begin(), result.end(),
              [](const TableChanges &a, const TableChanges &b) { return a.table < b.table; });
    return result;
}

} // namespace korvesta
