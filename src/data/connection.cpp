#include "connection.h"

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

Connection::Connection(QString path, sqlite3 *db, quint64 device, quint64 inode)
    : m_path(std::move(path))
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

Connection::~Connection()
{
    for (sqlite3_stmt *s : std::as_const(m_statements))
        sqlite3_finalize(s);
    sqlite3_close_v2(m_db);
}

bool Connection::isReadOnly() const
{
    return sqlite3_db_readonly(m_db, "main") == 1;
}

void Connection::raise(int rc, const QString &context) const
{
    const QString detail = QString::fromUtf8(sqlite3_errmsg(m_db));
    // A failed COMMIT can leave its transaction open (a lock it could not get): everything
    // the program writes afterwards would sit in that transaction and never reach the file.
    if (m_transactionDepth == 0 && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    const QString text = context.isEmpty() ? detail : context + QStringLiteral(": ") + detail;
    throw DbError::fromEngine(rc, text, m_path);
}

void Connection::exec(const char *sql)
{
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        raise(rc);
}

// Schema ------------------------------------------------------------------------------------

void Connection::loadSchema()
{
    m_tables.clear();
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
        m_tables.insert(name.toLower(), std::move(info));
    }
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
    Statement s(*this, QByteArray("SELECT \"Name\", \"SQL\" FROM ") + kSavedQueriesTable);
    while (s.step()) {
        const QString name =
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s.get(), 0)));
        const QString sql =
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s.get(), 1)));
        m_queries.insert(name.toLower(), {name, sql});
    }
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
    {
        Statement s(*this, QByteArray("INSERT OR REPLACE INTO ") + kSavedQueriesTable
                               + " (\"Name\", \"SQL\") VALUES (?1, ?2)");
        const QByteArray n = stored.toUtf8();
        const QByteArray q = sql.toUtf8();
        sqlite3_bind_text(s.get(), 1, n.constData(), int(n.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(s.get(), 2, q.constData(), int(q.size()), SQLITE_TRANSIENT);
        s.step();
    }
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
    auto t = std::make_shared<const jet::Translation>(jet::translate(sql, *this));
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

// Statements --------------------------------------------------------------------------------

sqlite3_stmt *Connection::prepare(const QByteArray &sql)
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

Connection::Statement::Statement(Connection &c, const QByteArray &sql)
    : m_connection(c)
    , m_stmt(c.prepare(sql))
{}

Connection::Statement::~Statement()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

bool Connection::Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    m_connection.raise(rc);
}

void Connection::bind(sqlite3_stmt *stmt, int index, const QVariant &value, JetType type,
                      const QString &what)
{
    auto mismatch = [&]() {
        throw DbError(dberr::TypeMismatch,
                      QStringLiteral("Недопустимое значение «%1» для %2")
                          .arg(value.toString(), what));
    };
    auto text = [&](const QString &t) {
        const QByteArray u = t.toUtf8();
        sqlite3_bind_text(stmt, index, u.constData(), int(u.size()), SQLITE_TRANSIENT);
    };
    if (value.isNull() || !value.isValid()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
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
            mismatch();
        text(moment.time() == QTime(0, 0) ? isoDateText(moment.date()) : isoMomentText(moment));
        return;
    }
    case JetType::Long:
    case JetType::Integer: {
        if (id == QMetaType::Bool) {
            sqlite3_bind_int64(stmt, index, value.toBool() ? 1 : 0);
            return;
        }
        bool ok = false;
        const qint64 v = value.toString().trimmed().toLongLong(&ok);
        if (!ok) {
            const double d = value.toString().trimmed().toDouble(&ok);
            if (!ok)
                mismatch();
            sqlite3_bind_int64(stmt, index, qRound64(d));
            return;
        }
        sqlite3_bind_int64(stmt, index, v);
        return;
    }
    case JetType::Double: {
        bool ok = false;
        const double d = value.toString().trimmed().replace(u',', u'.').toDouble(&ok);
        if (!ok)
            mismatch();
        sqlite3_bind_double(stmt, index, d);
        return;
    }
    case JetType::Boolean: {
        if (id == QMetaType::QString) {
            const QString t = value.toString().trimmed().toLower();
            if (t == u"true" || t == u"да" || t == u"-1" || t == u"1")
                sqlite3_bind_int64(stmt, index, 1);
            else if (t == u"false" || t == u"нет" || t == u"0")
                sqlite3_bind_int64(stmt, index, 0);
            else
                mismatch();
            return;
        }
        sqlite3_bind_int64(stmt, index, value.toBool() ? 1 : 0);
        return;
    }
    case JetType::Text:
        if (id == QMetaType::QDate)
            text(value.toDate().toString(QStringLiteral("dd.MM.yyyy")));
        else if (id == QMetaType::QDateTime)
            text(displayDateText(value.toDateTime()));
        else
            text(value.toString());
        return;
    case JetType::Unknown:
        break;
    }
    switch (id) {
    case QMetaType::QDate:
        text(isoDateText(value.toDate()));
        return;
    case QMetaType::QDateTime:
        text(isoMomentText(value.toDateTime()));
        return;
    case QMetaType::Bool:
        sqlite3_bind_int64(stmt, index, value.toBool() ? 1 : 0);
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
        sqlite3_bind_int64(stmt, index, value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(stmt, index, value.toDouble());
        return;
    default:
        text(value.toString());
    }
}

void Connection::bindAll(sqlite3_stmt *stmt, const jet::Translation &t,
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

std::unique_ptr<RecordsetData> Connection::read(sqlite3_stmt *stmt, const jet::Translation &t,
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
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            raise(rc);
        for (int i = 0; i < columns; ++i) {
            const JetType type = data->types[size_t(i)];
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_NULL:
                data->cells.emplace_back();
                break;
            case SQLITE_INTEGER: {
                const qint64 v = sqlite3_column_int64(stmt, i);
                if (type == JetType::Boolean)
                    data->cells.emplace_back(v != 0);
                else
                    data->cells.emplace_back(v);
                break;
            }
            case SQLITE_FLOAT:
                data->cells.emplace_back(sqlite3_column_double(stmt, i));
                break;
            case SQLITE_TEXT: {
                const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
                const int bytes = sqlite3_column_bytes(stmt, i);
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
                    static_cast<const char *>(sqlite3_column_blob(stmt, i)),
                    sqlite3_column_bytes(stmt, i)));
            }
        }
        for (size_t k = 0; k < tableCount; ++k) {
            const int col = hiddenStart + int(k);
            data->rowids.push_back(sqlite3_column_type(stmt, col) == SQLITE_NULL
                                       ? -1
                                       : sqlite3_column_int64(stmt, col));
        }
        ++data->rowCount;
    }
    data->deleted.assign(size_t(data->rowCount), 0);
    data->bof = data->eof = data->rowCount == 0;
    data->current = data->rowCount == 0 ? -1 : 0;
    return data;
}

std::unique_ptr<RecordsetData> Connection::query(
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

std::unique_ptr<RecordsetData> Connection::crosstab(
    const jet::Translation &t, const std::vector<std::optional<QVariant>> &values)
{
    // Saved queries among the sources are computed once, for both statements below.
    struct TemporaryTables
    {
        Connection &c;
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
    std::vector<std::pair<QString, QString>> columns; // literal, column name
    if (!t.fixedPivotValues.empty()) {
        for (const QByteArray &v : t.fixedPivotValues) {
            QString name = QString::fromUtf8(v);
            if (name.startsWith(u'\'') && name.endsWith(u'\''))
                name = name.mid(1, name.size() - 2).replace(QStringLiteral("''"),
                                                            QStringLiteral("'"));
            columns.emplace_back(QString::fromUtf8(v), name);
        }
    } else {
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

    QByteArray sql = t.crosstabHead;
    const QByteArray collate = t.pivotIsText ? " COLLATE NOCASE" : "";
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
    final.parameters = t.parameters;
    final.outputTypes = t.outputTypes;
    for (const auto &c : columns)
        final.outputTypes.emplace_back(c.second, t.valueType);
    Statement s(*this, sql);
    bindAll(s.get(), final, values);
    return read(s.get(), final, sqlite3_column_count(s.get()));
}

int Connection::execute(const jet::Translation &t,
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

} // namespace korvesta
