#include "database.h"

#include "sqliteconnection.h"
#include "dberror.h"
#include "documentschema.h"
#include "querydef.h"
#include "recordset.h"
#include "recordset_p.h"

#include <QFileInfo>

#include <algorithm>

#include <sqlite3.h>

namespace korvesta {

Database::Database(std::shared_ptr<Connection> connection)
    : m_connection(std::move(connection))
{}

Database Database::open(const QString &path, Mode mode)
{
    if (!path.isEmpty() && QFileInfo(path).isDir())
        throw DbError(dberr::ForeignFormat,
                      QStringLiteral("«%1» - это папка, а не файл документа расписания")
                          .arg(path));
    std::shared_ptr<Connection> connection = Connection::acquire(path, mode == Mode::ReadOnly);
    inspectDocument(connection, mode == Mode::ReadWrite);
    return Database(std::move(connection));
}

void Database::forget(const QString &path)
{
    Connection::forget(path);
}

void Database::forgetAll()
{
    Connection::forgetAll();
}

QString Database::path() const
{
    return m_connection->path();
}

bool Database::isReadOnly() const
{
    return m_connection->isReadOnly() || isFromNewerVersion();
}

bool Database::isFromNewerVersion() const
{
    return korvesta::isFromNewerVersion(m_connection);
}

Recordset Database::openRecordset(const QString &sqlOrName) const
{
    ensureIntactQueries(m_connection, sqlOrName);
    const auto t = m_connection->translateSource(sqlOrName);
    return Recordset(m_connection, m_connection->query(*t, {}));
}

int Database::execute(const QString &sql) const
{
    ensureWritable(m_connection);
    ensureIntactQueries(m_connection, sql);
    const auto t = m_connection->translateSource(sql);
    return m_connection->execute(*t, {});
}

bool Database::hasQueryDef(const QString &name) const
{
    return m_connection->savedQuery(name).has_value();
}

QueryDef Database::queryDef(const QString &name) const
{
    ensureIntactQueries(m_connection, name);
    const std::optional<QString> sql = m_connection->savedQuery(name);
    if (!sql)
        throw DbError(dberr::TooFewParameters,
                      QStringLiteral("В документе нет запроса «%1»").arg(name));
    return QueryDef(m_connection, name, *sql);
}

Recordset Database::openWithQueryTexts(
    const QString &reader, const std::vector<std::pair<QString, QString>> &texts) const
{
    for (const auto &[name, sql] : texts) {
        queryDef(name); // it must be there
        ensureStorableQueryText(name, sql);
    }
    // The recordset is read whole before the queries get their own texts back.
    struct Restore
    {
        Connection &connection;
        const std::vector<std::pair<QString, QString>> &texts;
        ~Restore()
        {
            for (const auto &text : texts)
                connection.restoreSavedQuery(text.first);
        }
    } restore{*m_connection, texts};
    for (const auto &[name, sql] : texts)
        m_connection->substituteSavedQuery(name, sql);
    return queryDef(reader).openRecordset();
}

void Database::createQueryDef(const QString &name, const QString &sql) const
{
    ensureStorableQueryText(name, sql);
    ensureWritable(m_connection);
    m_connection->setSavedQuery(name, sql);
}

QStringList Database::queryDefNames() const
{
    return m_connection->savedQueryNames();
}

void Database::lockDates(const std::vector<QDate> &dates) const
{
    if (m_connection->m_transactionDepth == 0 || dates.empty())
        return;
    std::vector<qint64> days;
    for (const QDate &date : dates) {
        if (date.isValid())
            days.push_back(date.toJulianDay());
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    m_connection->lockDates(days);
}

void Database::lockLoad() const
{
    if (m_connection->m_transactionDepth > 0)
        m_connection->lockLoad();
}

void Database::lockLoadLines(std::vector<std::pair<int, int>> lines) const
{
    if (m_connection->m_transactionDepth == 0 || lines.empty())
        return;
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    m_connection->lockLoadLines(lines);
}

void Database::lockDateCells(const QDate &date, std::vector<int> lessons,
                             std::vector<int> groups, std::vector<int> tutors) const
{
    if (m_connection->m_transactionDepth == 0 || !date.isValid())
        return;
    for (std::vector<int> *keys : {&lessons, &groups, &tutors}) {
        keys->erase(std::remove(keys->begin(), keys->end(), 0), keys->end()); // none named
        std::sort(keys->begin(), keys->end());
        keys->erase(std::unique(keys->begin(), keys->end()), keys->end());
    }
    m_connection->lockDateCells(date.toJulianDay(), lessons, groups, tutors);
}

void Database::allowProtectedDates() const
{
    if (m_connection->m_transactionDepth > 0)
        m_connection->allowProtectedDates();
}

bool Database::keepsEditPassword() const
{
    return m_connection->keepsEditPassword();
}

bool Database::hasEditPassword() const
{
    return m_connection->hasEditPassword();
}

bool Database::giveEditPassword(const QString &password) const
{
    return m_connection->giveEditPassword(password);
}

bool Database::changeEditPassword(const QString &present, const QString &wanted) const
{
    return m_connection->changeEditPassword(present, wanted);
}

void Database::compactTo(const QString &destination) const
{
    if (QFileInfo::exists(destination))
        throw DbError(dberr::Failed,
                      QStringLiteral("Файл «%1» уже существует").arg(destination));
    SqliteConnection::Statement s(sqliteOf(*m_connection), "VACUUM INTO ?1");
    const QByteArray target = destination.toUtf8();
    sqlite3_bind_text(s.get(), 1, target.constData(), int(target.size()), SQLITE_TRANSIENT);
    s.step();
}

Database::Transaction::Transaction(const Database &db)
    : m_connection(db.m_connection)
{
    ensureWritable(m_connection);
    // The outermost transaction takes the write lock at once, so that what it reads is what
    // it writes over; an inner one is a savepoint, so that its failure takes back its own
    // changes and no more.
    const int depth = m_connection->m_transactionDepth;
    m_savepoint = depth > 0 ? QByteArray("korvesta_") + QByteArray::number(depth) : QByteArray();
    ++m_connection->m_transactionDepth;
    try {
        if (depth == 0)
            m_connection->beginWrite();
        else
            m_connection->exec(("SAVEPOINT " + m_savepoint).constData());
    } catch (...) {
        --m_connection->m_transactionDepth; // No transaction began: none to end.
        throw;
    }
}

Database::Transaction::~Transaction()
{
    if (m_done)
        return;
    --m_connection->m_transactionDepth;
    if (m_savepoint.isEmpty()) {
        m_connection->execQuietly("ROLLBACK");
    } else {
        m_connection->execQuietly(("ROLLBACK TO " + m_savepoint).constData());
        m_connection->execQuietly(("RELEASE " + m_savepoint).constData());
    }
}

void Database::Transaction::commit()
{
    if (m_done)
        return;
    // Written into a file that is no longer the document, the changes would be lost without a
    // word: they are taken back (by the destructor) and the writer told.
    if (m_savepoint.isEmpty() && !m_connection->stillAtPath())
        throw DbError(dberr::Failed,
                      QStringLiteral("Файл документа «%1» удалён или заменён другим, пока в "
                                     "него шла запись. Изменения не записаны")
                          .arg(m_connection->path()),
                      m_connection->path());
    m_done = true;
    --m_connection->m_transactionDepth;
    m_connection->exec(m_savepoint.isEmpty() ? QByteArray("COMMIT").constData()
                                             : ("RELEASE " + m_savepoint).constData());
}

} // namespace korvesta
