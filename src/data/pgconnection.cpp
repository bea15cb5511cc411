#include "pgconnection.h"

#include "dberror.h"

#include <QDate>
#include <QDateTime>
#include <QTimeZone>

#include <libpq-fe.h>

#include <charconv>
#include <cstring>
#include <memory>

namespace korvesta {

namespace {

// Type numbers of the server's built-in types the documents use.
// The most statements kept prepared on one connection.
constexpr qsizetype kMostPrepared = 500;

constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701,
              kNumeric = 1700, kDate = 1082, kTimestamp = 1114;

struct ResultDeleter
{
    void operator()(PGresult *r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

// "2026-12-08" or "2026-12-08 14:30:00" as the server writes them (DateStyle ISO).
QVariant fromTimestamp(const char *text, int length)
{
    const auto number = [text](int at, int digits) {
        int v = 0;
        for (int i = at; i < at + digits; ++i)
            v = v * 10 + (text[i] - '0');
        return v;
    };
    const auto digitsAt = [text, length](std::initializer_list<int> places) {
        for (int i : places) {
            if (i >= length || text[i] < '0' || text[i] > '9')
                return false;
        }
        return true;
    };
    if ((length != 10 && length != 19) || !digitsAt({0, 1, 2, 3, 5, 6, 8, 9}))
        return {}; // not a plain date: read by the general parser below
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    if (length == 10)
        return date;
    if (!digitsAt({11, 12, 14, 15, 17, 18}))
        return {};
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    return time == QTime(0, 0) ? QVariant(date) : QVariant(QDateTime(date, time));
}

QVariant fromText(const char *text, int length, Oid type)
{
    switch (type) {
    case kBool:
        return length == 1 && *text == 't';
    case kInt2:
    case kInt4:
    case kInt8: {
        qint64 v = 0; // whole numbers as the file engine gives them
        std::from_chars(text, text + length, v);
        return v;
    }
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return QByteArray::fromRawData(text, length).toDouble();
    case kDate:
    case kTimestamp: {
        QVariant quick = fromTimestamp(text, length);
        if (quick.isValid())
            return quick;
        const QString written = QString::fromLatin1(text, length);
        if (type == kDate)
            return QDate::fromString(written, Qt::ISODate);
        const QDateTime at = QDateTime::fromString(written, Qt::ISODateWithMs);
        return at.time() == QTime(0, 0) ? QVariant(at.date()) : QVariant(at);
    }
    default:
        return QString::fromUtf8(text, length);
    }
}

QByteArray parameterText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? "1" : "0"; // Yes/No fields are numbers on the server
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate).toLatin1();
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
    case QMetaType::Double:
        return QByteArray::number(value.toDouble(), 'g', 17);
    default:
        return value.toString().toUtf8();
    }
}

} // namespace

PgConnection::PgConnection(const QString &uri)
    : m_uri(uri)
{
    const QByteArray info = uri.toUtf8();
    // Never a prompt for a password on the terminal: libpq's sources or nothing.
    const char *keys[] = {"dbname", "client_encoding", "application_name", nullptr};
    const char *values[] = {info.constData(), "UTF8", "korvesta", nullptr};
    m_conn = PQconnectdbParams(keys, values, 1);
    if (!m_conn)
        throw DbError(dberr::Failed, QStringLiteral("Нет памяти для подключения к серверу"));
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString reason = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
        PQfinish(m_conn);
        m_conn = nullptr;
        throw DbError(dberr::FileNotFound,
                      QStringLiteral("Не удалось подключиться к серверу %1: %2").arg(uri, reason),
                      uri);
    }
    // Dates as ISO text; the program's local time for Now(); and no compiling of statements
    // to machine code, which costs a second for each of the long statements a view reads
    // once and gains nothing on tables of thousands of rows.
    // The server's notices (a trigger replaced, say) are not the user's business.
    exec("SET DateStyle = ISO; SET IntervalStyle = iso_8601; SET jit = off; "
         "SET client_min_messages = warning; SET TimeZone = "
         + QByteArray(QTimeZone::systemTimeZoneId()).replace('\'', "''").prepend('\'').append('\''));
    // Another planner's command on the same dates is waited for a few seconds, and a
    // transaction left open (a program stopped in a debugger) does not hold its dates for
    // ever; where the administrator has set these for the user or the database, that holds.
    exec("SELECT set_config('lock_timeout', '8s', false) WHERE current_setting('lock_timeout') "
         "= '0'; SELECT set_config('idle_in_transaction_session_timeout', '10min', false) WHERE "
         "current_setting('idle_in_transaction_session_timeout') = '0'");
}

PgConnection::~PgConnection()
{
    if (m_conn)
        PQfinish(m_conn);
}

bool PgConnection::isServerUri(const QString &name)
{
    return name.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
           || name.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

void PgConnection::fail(const QString &what, const pg_result *result) const
{
    // The server gone (restarted, the network down): what the statement did is not kept,
    // and the next action connects again.
    if (PQstatus(m_conn) == CONNECTION_BAD)
        throw DbError(dberr::Failed,
                      QStringLiteral("Связь с сервером потеряна (%1). Изменение не записано; "
                                     "действие можно повторить, когда сервер снова будет доступен")
                          .arg(m_uri),
                      m_uri);
    // What another planner's work or the server's limits make a statement fail with is said
    // in the program's words: the action can be repeated as it is.
    const QByteArray state =
        result ? QByteArray(PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QByteArray();
    if (state == "55P03" || state == "40P01" || state == "40001")
        throw DbError(dberr::Failed,
                      QStringLiteral("Другой плановик изменяет расписание на эти даты; повторите "
                                     "через несколько секунд"),
                      m_uri);
    // The document's own refusals (a protected date) are worded by the document.
    if (state.startsWith("KV"))
        throw DbError(dberr::Failed,
                      QString::fromUtf8(PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY)),
                      m_uri);
    if (state == "57014")
        throw DbError(dberr::Failed,
                      QStringLiteral("Сервер не выполнил запрос за отведённое время. Изменение не "
                                     "записано; повторите действие позже"),
                      m_uri);
    if (state == "42501")
        throw DbError(dberr::ReadOnly,
                      QStringLiteral("Документ на сервере открыт только для чтения: у "
                                     "пользователя нет права изменять его. Изменение не "
                                     "записано"),
                      m_uri);
    throw DbError(dberr::Failed,
                  QStringLiteral("%1: %2").arg(what, QString::fromUtf8(PQerrorMessage(m_conn)).trimmed()),
                  m_uri);
}

void PgConnection::exec(const QByteArray &sql)
{
    const Result r(PQexec(m_conn, sql.constData()));
    const ExecStatusType status = PQresultStatus(r.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(QStringLiteral("Сервер не выполнил запрос"), r.get());
}

PgRows PgConnection::query(const QByteArray &sql, const std::vector<QVariant> &parameters,
                           const std::vector<PgSortKey> &sort)
{
    std::vector<QByteArray> texts;
    std::vector<const char *> pointers;
    texts.reserve(parameters.size());
    for (const QVariant &p : parameters) {
        if (p.isNull()) {
            texts.emplace_back();
            pointers.push_back(nullptr);
        } else {
            texts.push_back(parameterText(p));
            pointers.push_back(texts.back().constData());
        }
    }
    auto prepared = m_prepared.constFind(sql);
    if (prepared == m_prepared.constEnd()) {
        if (m_prepared.size() >= kMostPrepared) {
            exec("DEALLOCATE ALL");
            m_prepared.clear();
        }
        const QByteArray name = "korvesta_" + QByteArray::number(++m_statementNumber);
        const Result made(PQprepare(m_conn, name.constData(), sql.constData(),
                                    int(pointers.size()), nullptr));
        if (PQresultStatus(made.get()) != PGRES_COMMAND_OK)
            fail(QStringLiteral("Сервер не выполнил запрос"), made.get());
        prepared = m_prepared.insert(sql, name);
    }
    const Result r(PQexecPrepared(m_conn, prepared->constData(), int(pointers.size()),
                                  pointers.data(), nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(r.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(QStringLiteral("Сервер не выполнил запрос"), r.get());
    PgRows rows;
    m_changed = QByteArray(PQcmdTuples(r.get())).toLongLong();
    const int columns = PQnfields(r.get());
    for (int c = 0; c < columns; ++c) {
        rows.names << QString::fromUtf8(PQfname(r.get(), c));
        rows.types.push_back(PQftype(r.get(), c));
        rows.tables.push_back(PQftable(r.get(), c));
        rows.tableColumns.push_back(PQftablecol(r.get(), c));
    }
    // A text repeated down a column (a group's name on each of its lessons) is kept once.
    struct Last
    {
        const char *text = nullptr;
        int length = -1;
        QVariant value;
    };
    std::vector<Last> last(static_cast<size_t>(columns));
    const std::vector<int> order = sortedRows(r.get(), sort);
    rows.rows.reserve(order.size());
    for (const int i : order) {
        std::vector<QVariant> row(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(r.get(), i, c))
                continue;
            const char *text = PQgetvalue(r.get(), i, c);
            const int length = PQgetlength(r.get(), i, c);
            Last &seen = last[size_t(c)];
            if (length != seen.length || std::memcmp(text, seen.text, size_t(length)) != 0)
                seen = {text, length, fromText(text, length, rows.types[size_t(c)])};
            row[size_t(c)] = seen.value;
        }
        rows.rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<PgConnection::Notification> PgConnection::notifications()
{
    std::vector<Notification> found;
    if (PQconsumeInput(m_conn) == 0)
        return found; // the connection is gone: the next statement says so
    while (PGnotify *n = PQnotifies(m_conn)) {
        found.push_back({QByteArray(n->relname), QByteArray(n->extra), n->be_pid});
        PQfreemem(n);
    }
    return found;
}

int PgConnection::socket() const
{
    return PQsocket(m_conn);
}

int PgConnection::serverProcess() const
{
    return PQbackendPID(m_conn);
}

bool PgConnection::inTransaction() const
{
    return PQtransactionStatus(m_conn) != PQTRANS_IDLE;
}

bool PgConnection::isAlive() const
{
    return PQstatus(m_conn) == CONNECTION_OK;
}

void PgConnection::copyIn(const QByteArray &copySql, const QByteArray &rows)
{
    {
        const Result r(PQexec(m_conn, copySql.constData()));
        if (PQresultStatus(r.get()) != PGRES_COPY_IN)
            fail(QStringLiteral("Сервер не принял строки"));
    }
    if (PQputCopyData(m_conn, rows.constData(), int(rows.size())) != 1
        || PQputCopyEnd(m_conn, nullptr) != 1)
        fail(QStringLiteral("Строки не переданы серверу"));
    const Result r(PQgetResult(m_conn));
    if (PQresultStatus(r.get()) != PGRES_COMMAND_OK)
        fail(QStringLiteral("Сервер не принял строки"));
    while (PGresult *rest = PQgetResult(m_conn))
        PQclear(rest);
}

QByteArray copyText(const QVariant &value)
{
    if (value.isNull())
        return "\\N";
    QByteArray text = parameterText(value);
    QByteArray out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace korvesta
