#include "serverconnection.h"
#include "sqliteconnection.h"

#include "dberror.h"
#include "documentschema.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <map>

// The connections the program holds, one per document file, and how a file becomes one: it
// must be there, be a regular file, be one of our documents, and be whole after a crash.

namespace korvesta {

namespace {

std::map<QString, std::shared_ptr<Connection>> &pool()
{
    static std::map<QString, std::shared_ptr<Connection>> connections;
    return connections;
}

// Connections whose file was deleted under them, by the path they had.
std::map<QString, std::shared_ptr<Connection>> &lostPool()
{
    static std::map<QString, std::shared_ptr<Connection>> connections;
    return connections;
}

QString poolKey(const QString &path)
{
    return PgConnection::isServerUri(path) ? path : QFileInfo(path).absoluteFilePath();
}

bool fileIdentity(const QString &path, quint64 *device, quint64 *inode)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    *device = quint64(st.st_dev);
    *inode = quint64(st.st_ino);
    return true;
}

bool isLinkLoop(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) != 0 && errno == ELOOP;
}

// Opens the document for writing for a moment, so that SQLite rolls back the journal a write
// cut short left beside it; false when it cannot (the folder or the file is read-only).
bool rollBackLeftJournal(const QString &path)
{
    sqlite3 *db = nullptr;
    bool done = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE,
                                nullptr)
                == SQLITE_OK;
    // The first read of a writable handle rolls the journal back.
    done = done && sqlite3_exec(db, "PRAGMA application_id", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close_v2(db);
    return done;
}

[[noreturn]] void foreign(const QString &path)
{
    throw DbError(dberr::ForeignFormat,
                  QStringLiteral("Файл «%1» не является документом расписания").arg(path), path);
}

bool isLock(int rc)
{
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

} // namespace

// Pool --------------------------------------------------------------------------------------

std::shared_ptr<Connection> Connection::acquire(const QString &path, bool readOnly)
{
    // A document on a server, by its URI: one connection per URI, made again once the server
    // stopped answering on it.
    if (PgConnection::isServerUri(path)) {
        const auto held = pool().find(path);
        if (held != pool().end() && held->second->stillAtPath())
            return held->second;
        auto c = std::make_shared<ServerConnection>(path);
        pool()[path] = c;
        return c;
    }
    const QString key = poolKey(path);
    quint64 device = 0, inode = 0;
    if (path.isEmpty() || !fileIdentity(key, &device, &inode)) {
        auto held = pool().find(key);
        if (held != pool().end()) {
            if (!path.isEmpty())
                lostPool()[key] = held->second;
            pool().erase(held);
        }
        if (isLinkLoop(key))
            throw DbError(dberr::FileNotFound,
                          QStringLiteral("Файл «%1» - ссылка, которая по кругу ведёт сама на "
                                         "себя: документа по ней нет")
                              .arg(path),
                          key);
        throw DbError(dberr::FileNotFound, QStringLiteral("Файл «%1» не найден").arg(path),
                      key);
    }
    auto it = pool().find(key);
    if (it != pool().end()) {
        const auto &c = static_cast<const SqliteConnection &>(*it->second);
        if (c.device() == device && c.inode() == inode && (readOnly || !c.isReadOnly()))
            return it->second;
        pool().erase(it); // replaced or deleted file: never read through the old handle
    }

    sqlite3 *db = nullptr;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    const int rc = sqlite3_open_v2(QFile::encodeName(key).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(db);
        foreign(path);
    }
    auto c = std::make_shared<SqliteConnection>(key, db, device, inode);

    // Our mark and our tables, read without writing anything. A document another program
    // holds is busy, not foreign.
    sqlite3_stmt *stmt = nullptr;
    const int prepared = sqlite3_prepare_v2(db, "PRAGMA application_id", -1, &stmt, nullptr);
    const int step = prepared == SQLITE_OK ? sqlite3_step(stmt) : prepared;
    const int id = step == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
    sqlite3_finalize(stmt);
    if (isLock(step))
        c->raise(step);
    static thread_local bool rollingBack = false;
    if (readOnly && (step & 0xff) == SQLITE_READONLY && !rollingBack) {
        // A write was cut short (a crash, a kill) and left its journal: the document must be
        // rolled back to how it was before, which a read-only handle cannot do.
        c.reset();
        if (!rollBackLeftJournal(key))
            throw DbError(dberr::ReadOnly,
                          QStringLiteral("Документ «%1» не был дописан при сбое: рядом с ним "
                                         "остался журнал незавершённой записи («%2»), а папка "
                                         "документа закрыта для записи. Документ станет таким, "
                                         "каким был до сбоя, когда его откроют с правом записи "
                                         "в папку")
                              .arg(path, QFileInfo(key).fileName() + QStringLiteral("-journal")),
                          key);
        rollingBack = true;
        const struct Reset
        {
            ~Reset() { rollingBack = false; }
        } reset;
        return acquire(path, readOnly);
    }
    if (step != SQLITE_ROW || id != kDocumentApplicationId)
        foreign(path);
    try {
        for (const QString &t : documentTables()) {
            if (!c->table(t))
                foreign(path);
        }
    } catch (const DbError &error) {
        if (error.code() == dberr::Locked)
            throw;
        foreign(path);
    }
    pool()[key] = c;
    return c;
}

bool SqliteConnection::stillAtPath() const
{
    quint64 device = 0, inode = 0;
    return fileIdentity(path(), &device, &inode) && device == m_device && inode == m_inode;
}

void Connection::forget(const QString &path)
{
    pool().erase(poolKey(path));
    lostPool().erase(poolKey(path));
}

void Connection::forgetAll()
{
    pool().clear();
    lostPool().clear();
}

bool Connection::holdsLostData(const QString &path)
{
    return lostPool().count(poolKey(path)) > 0;
}

void Connection::saveLostData(const QString &path, const QString &destination)
{
    auto it = lostPool().find(poolKey(path));
    if (it == lostPool().end())
        throw DbError(dberr::FileNotFound, QStringLiteral("Файл «%1» не найден").arg(path), path);
    SqliteConnection &lost = sqliteOf(*it->second);
    // VACUUM INTO refuses an existing file, which the user has agreed to replace: write beside
    // it and rename over it in one step.
    const QString target = poolKey(destination);
    const QString passing = target + QStringLiteral(".korvesta-save");
    QFile::remove(passing);
    {
        SqliteConnection::Statement s(lost, "VACUUM INTO ?1");
        const QByteArray name = passing.toUtf8();
        sqlite3_bind_text(s.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        try {
            s.step();
        } catch (const DbError &) {
            QFile::remove(passing);
            throw;
        }
    }
    forget(destination);
    if (std::rename(QFile::encodeName(passing).constData(), QFile::encodeName(target).constData())
        != 0) {
        QFile::remove(passing);
        throw DbError(dberr::Failed,
                      QStringLiteral("Не удалось записать файл «%1»").arg(destination), target);
    }
    lostPool().erase(poolKey(path));
}

} // namespace korvesta
