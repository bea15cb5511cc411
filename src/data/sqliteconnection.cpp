#include "sqliteconnection.h"

#include "dberror.h"
#include "documentschema.h"
#include "isodate.h"
#include "recordset_p.h"
#include "sqlfunctions.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <sqlite3.h>


#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <map>

namespace korvesta {

namespace {

// A connection's mutex held for a scope (none when SQLite runs without one).
class HeldMutex
{
public:
    explicit HeldMutex(sqlite3_mutex *mutex)
        : m_mutex(mutex)
    {
        sqlite3_mutex_enter(m_mutex);
    }
    ~HeldMutex() { sqlite3_mutex_leave(m_mutex); }
    HeldMutex(const HeldMutex &) = delete;
    HeldMutex &operator=(const HeldMutex &) = delete;

private:
    sqlite3_mutex *m_mutex;
};

QString sqlLiteral(sqlite3_stmt *stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT:
        return QString::number(sqlite3_column_double(stmt, column), 'g', 17);
    case SQLITE_NULL:
        return QString();
    default: {
        QString t = QString::fromUtf8(reinterpret_cast<const char *>(
                                          sqlite3_column_text(stmt, column)),
                                      sqlite3_column_bytes(stmt, column));
        return jet::quoteText(t);
    }
    }
}

struct LockWait
{
    int milliseconds = 5000;
    std::function<void()> onWaiting;
};

LockWait &lockWait()
{
    static LockWait wait;
    return wait;
}

// Once a wait has run out, the other reads of the same user action fail at once instead of
// waiting again each; the action ends when the event loop runs again (a question's dialog
// included, so that "Повторить" waits anew).
bool &gaveUp()
{
    static bool value = false;
    return value;
}

// SQLite's busy handler: short sleeps first (most locks are a moment's write by another
// program), then a tenth of a second at a time, until the limit; then the statement fails
// with SQLITE_BUSY.
int waitForLock(void *, int attempt)
{
    static constexpr int kSteps[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50};
    constexpr int kStepCount = int(std::size(kSteps));
    const LockWait &wait = lockWait();
    int waited = 0;
    for (int i = 0; i < attempt; ++i)
        waited += i < kStepCount ? kSteps[i] : 100;
    if (gaveUp())
        return 0;
    if (waited >= wait.milliseconds) {
        gaveUp() = true;
        if (QCoreApplication *app = QCoreApplication::instance())
            QTimer::singleShot(0, app, [] { gaveUp() = false; });
        return 0;
    }
    if (attempt == 0 && wait.onWaiting)
        wait.onWaiting();
    const int step = attempt < kStepCount ? kSteps[attempt] : 100;
    sqlite3_sleep(std::min(step, wait.milliseconds - waited));
    return 1;
}

} // namespace

void Connection::setLockWait(int milliseconds, std::function<void()> onWaiting)
{
    lockWait() = {std::max(0, milliseconds), std::move(onWaiting)};
    gaveUp() = false;
}

JetType jetTypeFromDeclared(const char *declared)
{
    if (!declared)
        return JetType::Unknown;
    const QByteArray t = QByteArray(declared).toUpper();
    if (t.contains("DATE") || t.contains("TIME"))
        return JetType::Date;
    if (t.contains("BOOL") || t.contains("BIT"))
        return JetType::Boolean;
    if (t.contains("SMALLINT") || t.contains("SHORT"))
        return JetType::Integer;
    if (t.contains("INT") || t.contains("LONG"))
        return JetType::Long;
    if (t.contains("CHAR") || t.contains("TEXT") || t.contains("CLOB"))
        return JetType::Text;
    if (t.contains("REAL") || t.contains("FLOA") || t.contains("DOUB") || t.contains("NUM")
        || t.contains("DEC") || t.contains("CURR"))
        return JetType::Double;
    return JetType::Unknown;
}

SqliteConnection::SqliteConnection(QString path, sqlite3 *db, quint64 device, quint64 inode)
    : Connection(std::move(path))
    , m_db(db)
    , m_device(device)
    , m_inode(inode)
{
    sqlite3_busy_handler(m_db, &waitForLock, nullptr);
    // A year of lessons is tens of megabytes: keep it in memory between operations instead
    // of reading pages again for every query. None of these settings writes to the file.
    sqlite3_exec(m_db, "PRAGMA cache_size = -65536; PRAGMA mmap_size = 536870912; "
                       "PRAGMA temp_store = MEMORY;",
                 nullptr, nullptr, nullptr);
    sqlite3_extended_result_codes(m_db, 0);
    registerJetFunctions(m_db);
}

SqliteConnection::~SqliteConnection()
{
    for (sqlite3_stmt *s : std::as_const(m_statements))
        sqlite3_finalize(s);
    sqlite3_close_v2(m_db);
}

bool SqliteConnection::isReadOnly() const
{
    return sqlite3_db_readonly(m_db, "main") == 1;
}

void SqliteConnection::raise(int rc, const QString &context) const
{
    const QString detail = QString::fromUtf8(sqlite3_errmsg(m_db));
    // A failed COMMIT can leave its transaction open (a lock it could not get): everything
    // the program writes afterwards would sit in that transaction and never reach the file.
    if (m_transactionDepth == 0 && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    const QString text = context.isEmpty() ? detail : context + QStringLiteral(": ") + detail;
    throw DbError::fromEngine(rc, text, path());
}

void SqliteConnection::beginWrite()
{
    exec("BEGIN IMMEDIATE");
}

void SqliteConnection::execQuietly(const char *sql) noexcept
{
    sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
}

void SqliteConnection::exec(const char *sql)
{
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        raise(rc);
}

// Schema ------------------------------------------------------------------------------------

std::vector<jet::TableInfo> SqliteConnection::readSchema()
{
    std::vector<jet::TableInfo> tables;
    sqlite3_stmt *list = nullptr;
    int rc = sqlite3_prepare_v2(
        m_db, "SELECT name FROM sqlite_master WHERE type IN ('table', 'view') "
              "AND name NOT LIKE 'sqlite!_%' ESCAPE '!'",
        -1, &list, nullptr);
    if (rc != SQLITE_OK)
        raise(rc);
    QStringList names;
    while ((rc = sqlite3_step(list)) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(list, 0)));
    sqlite3_finalize(list);
    if (rc != SQLITE_DONE)
        raise(rc);

    for (const QString &name : names) {
        jet::TableInfo info;
        info.name = name;
        sqlite3_stmt *cols = nullptr;
        const QByteArray sql = "PRAGMA table_info(" + jet::quoteName(name).toUtf8() + ")";
        rc = sqlite3_prepare_v2(m_db, sql.constData(), -1, &cols, nullptr);
        if (rc != SQLITE_OK)
            raise(rc);
        while ((rc = sqlite3_step(cols)) == SQLITE_ROW) {
            const QString column =
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(cols, 1)));
            const char *declared = reinterpret_cast<const char *>(sqlite3_column_text(cols, 2));
            info.columns.push_back({column, jetTypeFromDeclared(declared)});
            if (sqlite3_column_int(cols, 5) == 1 && declared
                && QByteArray(declared).toUpper() == "INTEGER")
                info.keyColumn = column;
        }
        sqlite3_finalize(cols);
        if (rc != SQLITE_DONE)
            raise(rc);
        tables.push_back(std::move(info));
    }
    return tables;
}

// Saved queries -----------------------------------------------------------------------------

std::vector<std::pair<QString, QString>> SqliteConnection::readSavedQueries()
{
    std::vector<std::pair<QString, QString>> queries;
    Statement s(*this, QByteArray("SELECT \"Name\", \"SQL\" FROM ") + kSavedQueriesTable);
    while (s.step())
        queries.emplace_back(
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s.get(), 0))),
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s.get(), 1))));
    return queries;
}

void SqliteConnection::writeSavedQuery(const QString &name, const QString &sql)
{
    Statement s(*this, QByteArray("INSERT OR REPLACE INTO ") + kSavedQueriesTable
                           + " (\"Name\", \"SQL\") VALUES (?1, ?2)");
    const QByteArray n = name.toUtf8();
    const QByteArray q = sql.toUtf8();
    sqlite3_bind_text(s.get(), 1, n.constData(), int(n.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(s.get(), 2, q.constData(), int(q.size()), SQLITE_TRANSIENT);
    s.step();
}

// Statements --------------------------------------------------------------------------------

sqlite3_stmt *SqliteConnection::prepare(const QByteArray &sql)
{
    auto it = m_statements.constFind(sql);
    if (it != m_statements.constEnd())
        return *it;
    sqlite3_stmt *stmt = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql.constData(), int(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK)
        raise(rc);
    if (m_statements.size() > 500) {
        for (sqlite3_stmt *s : std::as_const(m_statements))
            sqlite3_finalize(s);
        m_statements.clear();
    }
    m_statements.insert(sql, stmt);
    return stmt;
}

SqliteConnection::Statement::Statement(SqliteConnection &c, const QByteArray &sql)
    : m_connection(c)
    , m_stmt(c.prepare(sql))
{}

SqliteConnection::Statement::~Statement()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

bool SqliteConnection::Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    m_connection.raise(rc);
}

void SqliteConnection::bind(sqlite3_stmt *stmt, int index, const QVariant &value, JetType type,
                            const QString &what)
{
    const QVariant v = storedValue(value, type, what);
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        sqlite3_bind_null(stmt, index);
        return;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
        sqlite3_bind_int64(stmt, index, v.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(stmt, index, v.toDouble());
        return;
    default:
        break;
    }
    // Dates are kept as ISO text, the time only where there is one.
    const QString text = v.typeId() == QMetaType::QDate       ? isoDateText(v.toDate())
                         : v.typeId() == QMetaType::QDateTime ? isoMomentText(v.toDateTime())
                                                               : v.toString();
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void SqliteConnection::bindAll(sqlite3_stmt *stmt, const jet::Translation &t,
                         const std::vector<std::optional<QVariant>> &values)
{
    const int count = sqlite3_bind_parameter_count(stmt);
    for (size_t i = 0; i < t.parameters.size(); ++i) {
        if (i >= values.size() || !values[i])
            throw DbError(dberr::TooFewParameters,
                          QStringLiteral("Слишком мало параметров: не задано значение «%1»")
                              .arg(t.parameters[i].name));
        if (int(i) < count)
            bind(stmt, int(i) + 1, *values[i], t.parameters[i].type,
                 QStringLiteral("параметра «%1»").arg(t.parameters[i].name));
    }
}

std::unique_ptr<RecordsetData> SqliteConnection::read(sqlite3_stmt *stmt, const jet::Translation &t,
                                                int visibleColumns)
{
    auto data = std::make_unique<RecordsetData>();
    const int total = sqlite3_column_count(stmt);
    const int columns = std::min(visibleColumns, total);
    data->columnCount = columns;

    // Tables whose rowids ride along in the hidden columns.
    const int hiddenStart = columns;
    for (int h = hiddenStart; h < total; ++h) {
        const auto &rc = t.rowidColumns[size_t(h - hiddenStart)];
        const jet::TableInfo *info = table(rc.table);
        data->tables.push_back({rc.table, info ? info->keyColumn : QString()});
    }

    data->types.reserve(size_t(columns));
    data->origins.resize(size_t(columns));
    for (int i = 0; i < columns; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        data->names << name;
        JetType type = JetType::Unknown;
        for (const auto &[n, ty] : t.outputTypes) {
            if (n.compare(name, Qt::CaseInsensitive) == 0) {
                type = ty;
                break;
            }
        }
        if (type == JetType::Unknown)
            type = jetTypeFromDeclared(sqlite3_column_decltype(stmt, i));
        data->types.push_back(type);

        // A column of one of the base tables can be written back.
        const char *tableName = sqlite3_column_table_name(stmt, i);
        const char *origin = sqlite3_column_origin_name(stmt, i);
        if (tableName && origin) {
            int match = -1;
            int matches = 0;
            for (size_t k = 0; k < data->tables.size(); ++k) {
                if (data->tables[k].name.compare(QString::fromUtf8(tableName),
                                                 Qt::CaseInsensitive)
                    == 0) {
                    match = int(k);
                    ++matches;
                }
            }
            if (matches == 1)
                data->origins[size_t(i)] = {match, QString::fromUtf8(origin)};
        }
    }

    const size_t tableCount = data->tables.size();
    // SQLite takes the connection's mutex in every call on the statement; held here for the
    // whole read, so that each cell is read as a value with one such call, and the value's
    // own readers (which take no mutex) are safe: no other thread can step the statement.
    const HeldMutex held(sqlite3_db_mutex(sqlite3_db_handle(stmt)));
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            raise(rc);
        for (int i = 0; i < columns; ++i) {
            const JetType type = data->types[size_t(i)];
            sqlite3_value *value = sqlite3_column_value(stmt, i);
            switch (sqlite3_value_type(value)) {
            case SQLITE_NULL:
                data->cells.emplace_back();
                break;
            case SQLITE_INTEGER: {
                const qint64 v = sqlite3_value_int64(value);
                if (type == JetType::Boolean)
                    data->cells.emplace_back(v != 0);
                else
                    data->cells.emplace_back(v);
                break;
            }
            case SQLITE_FLOAT:
                data->cells.emplace_back(sqlite3_value_double(value));
                break;
            case SQLITE_TEXT: {
                const char *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
                const int bytes = sqlite3_value_bytes(value);
                if (type == JetType::Date) {
                    // Read without local-time conversion: it costs a time-zone lookup per
                    // value, and a date has no time of day anyway.
                    MomentParts parts;
                    if (parseMomentParts(text, bytes, parts)) {
                        if (!parts.hasTime)
                            data->cells.emplace_back(parts.date);
                        else
                            data->cells.emplace_back(QDateTime(parts.date, parts.time));
                        break;
                    }
                }
                data->cells.emplace_back(QString::fromUtf8(text, bytes));
                break;
            }
            default:
                data->cells.emplace_back(QByteArray(
                    static_cast<const char *>(sqlite3_value_blob(value)),
                    sqlite3_value_bytes(value)));
            }
        }
        for (size_t k = 0; k < tableCount; ++k) {
            const int col = hiddenStart + int(k);
            sqlite3_value *rowid = sqlite3_column_value(stmt, col);
            data->rowids.push_back(sqlite3_value_type(rowid) == SQLITE_NULL
                                       ? -1
                                       : sqlite3_value_int64(rowid));
        }
        ++data->rowCount;
    }
    data->deleted.assign(size_t(data->rowCount), 0);
    data->bof = data->eof = data->rowCount == 0;
    data->current = data->rowCount == 0 ? -1 : 0;
    return data;
}

std::unique_ptr<RecordsetData> SqliteConnection::query(
    const jet::Translation &t, const std::vector<std::optional<QVariant>> &values)
{
    if (t.kind == jet::Translation::Kind::Crosstab)
        return crosstab(t, values);
    if (t.kind != jet::Translation::Kind::Select)
        throw DbError(dberr::Failed, QStringLiteral("Запрос на изменение не возвращает строк"));
    Statement s(*this, t.sql);
    bindAll(s.get(), t, values);
    const int visible = sqlite3_column_count(s.get()) - int(t.rowidColumns.size());
    return read(s.get(), t, visible);
}

std::unique_ptr<RecordsetData> SqliteConnection::crosstab(
    const jet::Translation &t, const std::vector<std::optional<QVariant>> &values)
{
    // Saved queries among the sources are computed once, for both statements below.
    struct TemporaryTables
    {
        SqliteConnection &c;
        const jet::Translation &t;
        ~TemporaryTables()
        {
            for (const auto &m : t.materialized)
                sqlite3_exec(c.m_db, ("DROP TABLE IF EXISTS temp." + m.table).constData(),
                             nullptr, nullptr, nullptr);
        }
    } temporary{*this, t};
    for (const auto &m : t.materialized) {
        exec(("DROP TABLE IF EXISTS temp." + m.table).constData());
        exec(m.createSql.constData());
        Statement fill(*this, m.fillSql);
        bindAll(fill.get(), t, values);
        fill.step();
    }

    // The pivot values, in order; each becomes a column.
    PivotColumns columns = fixedPivotColumns(t);
    if (t.fixedPivotValues.empty()) {
        Statement s(*this, t.pivotValuesSql);
        bindAll(s.get(), t, values);
        while (s.step()) {
            const QString literal = sqlLiteral(s.get(), 0);
            QString name;
            if (sqlite3_column_type(s.get(), 0) == SQLITE_NULL) {
                name = QStringLiteral("<>");
            } else {
                name = QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(s.get(), 0)));
                if (t.pivotType == JetType::Date) {
                    const QDateTime moment = parseMoment(name);
                    if (moment.isValid())
                        name = displayDateText(moment);
                }
            }
            columns.emplace_back(literal, name);
        }
    }
    const jet::Translation final =
        crosstabStatement(t, columns, t.pivotIsText ? " COLLATE NOCASE" : "");
    Statement s(*this, final.sql);
    bindAll(s.get(), final, values);
    return read(s.get(), final, sqlite3_column_count(s.get()));
}

int SqliteConnection::execute(const jet::Translation &t,
                        const std::vector<std::optional<QVariant>> &values)
{
    if (t.kind != jet::Translation::Kind::Action)
        throw DbError(dberr::Failed,
                      QStringLiteral("Выполнить можно только запрос на изменение данных"));
    Statement s(*this, t.sql);
    bindAll(s.get(), t, values);
    s.step();
    return sqlite3_changes(m_db);
}

// Rows of a recordset -------------------------------------------------------------------------

qint64 SqliteConnection::nextKey(const QString &table)
{
    // AUTOINCREMENT never gives a key twice: the next is above the highest ever given.
    Statement s(*this, "SELECT max(coalesce((SELECT seq FROM sqlite_sequence WHERE name = ?1), 0), "
                       "coalesce((SELECT max(rowid) FROM "
                           + jet::quoteName(table).toUtf8() + "), 0)) + 1");
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(s.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    return s.step() ? sqlite3_column_int64(s.get(), 0) : 1;
}

void SqliteConnection::updateRow(const QString &table, qint64 row,
                                 const std::vector<FieldValue> &values)
{
    QByteArray sql;
    for (size_t k = 0; k < values.size(); ++k)
        sql += (k == 0 ? "" : ", ") + jet::quoteName(values[k].column).toUtf8() + " = ?"
               + QByteArray::number(k + 1);
    Statement s(*this, "UPDATE " + jet::quoteName(table).toUtf8() + " SET " + sql
                           + " WHERE rowid = ?" + QByteArray::number(values.size() + 1));
    for (size_t k = 0; k < values.size(); ++k)
        bind(s.get(), int(k) + 1, values[k].value, values[k].type, values[k].what);
    sqlite3_bind_int64(s.get(), int(values.size()) + 1, row);
    s.step();
}

qint64 SqliteConnection::insertRow(const QString &table, const QString &keyColumn, qint64 key,
                                   const std::vector<FieldValue> &values)
{
    QByteArrayList names, marks;
    if (!keyColumn.isEmpty()) {
        names << jet::quoteName(keyColumn).toUtf8();
        marks << "?1";
    }
    for (const FieldValue &v : values) {
        names << jet::quoteName(v.column).toUtf8();
        marks << "?" + QByteArray::number(marks.size() + 1);
    }
    const QByteArray sql = names.isEmpty()
                               ? "INSERT INTO " + jet::quoteName(table).toUtf8() + " DEFAULT VALUES"
                               : "INSERT INTO " + jet::quoteName(table).toUtf8() + " ("
                                     + names.join(", ") + ") VALUES (" + marks.join(", ") + ")";
    Statement s(*this, sql);
    int k = 1;
    if (!keyColumn.isEmpty())
        sqlite3_bind_int64(s.get(), k++, key);
    for (const FieldValue &v : values)
        bind(s.get(), k++, v.value, v.type, v.what);
    s.step();
    return sqlite3_last_insert_rowid(m_db);
}

std::vector<QVariant> SqliteConnection::readRow(const QString &table, qint64 row,
                                                const QStringList &columns)
{
    QByteArrayList names;
    for (const QString &c : columns)
        names << jet::quoteName(c).toUtf8();
    std::vector<QVariant> values(size_t(columns.size()));
    Statement s(*this, "SELECT " + names.join(", ") + " FROM " + jet::quoteName(table).toUtf8()
                           + " WHERE rowid = ?1");
    sqlite3_bind_int64(s.get(), 1, row);
    if (!s.step())
        return values;
    for (int k = 0; k < int(columns.size()); ++k) {
        switch (sqlite3_column_type(s.get(), k)) {
        case SQLITE_NULL:
            break;
        case SQLITE_INTEGER:
            values[size_t(k)] = sqlite3_column_int64(s.get(), k);
            break;
        case SQLITE_FLOAT:
            values[size_t(k)] = sqlite3_column_double(s.get(), k);
            break;
        default:
            values[size_t(k)] = QString::fromUtf8(
                reinterpret_cast<const char *>(sqlite3_column_text(s.get(), k)));
        }
    }
    return values;
}

void SqliteConnection::deleteRow(const QString &table, qint64 row)
{
    Statement s(*this, "DELETE FROM " + jet::quoteName(table).toUtf8() + " WHERE rowid = ?1");
    sqlite3_bind_int64(s.get(), 1, row);
    s.step();
}

SqliteConnection &sqliteOf(Connection &c)
{
    if (auto *file = dynamic_cast<SqliteConnection *>(&c))
        return *file;
    throw DbError(dberr::Failed,
                  QStringLiteral("Для документа на сервере это действие недоступно: %1")
                      .arg(c.path()),
                  c.path());
}

} // namespace korvesta
