#pragma once

#include "jet/jettranslator.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace korvesta {

struct RecordsetData;

// One open SQLite connection to a document, with the caches that make running the same
// statements again cheap: translations by text, prepared statements by SQL, the schema
// and the saved queries. Connections are kept per path and checked against the file on
// every open, so a replaced or deleted file is never read through a stale one.
class Connection : public jet::SchemaProvider
{
public:
    static std::shared_ptr<Connection> acquire(const QString &path, bool readOnly);
    static void forget(const QString &path);
    static void forgetAll();

    // A document whose file was deleted while it was open is still readable through the
    // connection the program held; acquire() never reads through it again, but its data can
    // be written to a new file. Throws DbError.
    static bool holdsLostData(const QString &path);
    static void saveLostData(const QString &path, const QString &destination);

    // How long a statement waits for a document another program has locked before it fails
    // with dberr::Locked, and what runs when a wait begins (the window shows the wait cursor).
    // The wait blocks the calling thread: the window's event loop runs again only after the
    // action has ended.
    static void setLockWait(int milliseconds, std::function<void()> onWaiting = {});

    ~Connection() override;
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    sqlite3 *handle() const { return m_db; }
    const QString &path() const { return m_path; }
    bool isReadOnly() const;
    // Whether the path still names the file this handle has open: false once another program
    // deleted the document or put another file in its place.
    bool stillAtPath() const;

    const jet::TableInfo *table(const QString &name) override;
    std::optional<QString> savedQuery(const QString &name) override;
    QStringList savedQueryNames();
    void setSavedQuery(const QString &name, const QString &sql);
    // The saved queries are read again at their next use (their rows were written back
    // behind the cache, by undo or redo).
    void reloadSavedQueries();
    // Reads `sql` in place of the saved query `name` until restoreSavedQuery(name), writing
    // nothing, so that a query rewritten before each use works on a document that cannot be
    // written and leaves no step in its history.
    void substituteSavedQuery(const QString &name, const QString &sql);
    void restoreSavedQuery(const QString &name);

    std::shared_ptr<const jet::Translation> translate(const QString &sql);
    // The translation of SQL text, a table name or a saved query's name.
    std::shared_ptr<const jet::Translation> translateSource(const QString &sqlOrName);

    // Values in the order of the translation's parameters; a missing value is an error.
    std::unique_ptr<RecordsetData> query(const jet::Translation &t,
                                         const std::vector<std::optional<QVariant>> &values);
    int execute(const jet::Translation &t, const std::vector<std::optional<QVariant>> &values);

    // A prepared statement from the cache, reset and cleared when the guard goes.
    class Statement
    {
    public:
        Statement(Connection &c, const QByteArray &sql);
        ~Statement();
        Statement(const Statement &) = delete;
        Statement &operator=(const Statement &) = delete;
        sqlite3_stmt *get() const { return m_stmt; }
        // Steps once; returns true while there is a row. Throws on error.
        bool step();

    private:
        Connection &m_connection;
        sqlite3_stmt *m_stmt = nullptr;
    };

    // Binds a value converted to the given type; throws on a value of the wrong kind.
    void bind(sqlite3_stmt *stmt, int index, const QVariant &value, JetType type,
              const QString &what);
    [[noreturn]] void raise(int rc, const QString &context = QString()) const;
    void exec(const char *sql);

    int m_transactionDepth = 0;

private:
    Connection(QString path, sqlite3 *db, quint64 device, quint64 inode);
    void loadSchema();
    void loadSavedQueries();
    void forgetTranslationsOf(const QString &key);
    sqlite3_stmt *prepare(const QByteArray &sql);
    std::unique_ptr<RecordsetData> read(sqlite3_stmt *stmt, const jet::Translation &t,
                                        int visibleColumns);
    std::unique_ptr<RecordsetData> crosstab(const jet::Translation &t,
                                            const std::vector<std::optional<QVariant>> &values);
    void bindAll(sqlite3_stmt *stmt, const jet::Translation &t,
                 const std::vector<std::optional<QVariant>> &values);

    QString m_path;
    sqlite3 *m_db = nullptr;
    quint64 m_device = 0;
    quint64 m_inode = 0;

    bool m_schemaLoaded = false;
    QHash<QString, jet::TableInfo> m_tables; // by lower-case name
    bool m_queriesLoaded = false;
    QHash<QString, std::pair<QString, QString>> m_queries; // lower-case name -> name, SQL
    QHash<QString, std::shared_ptr<const jet::Translation>> m_translations;
    QHash<QString, QString> m_substitutes; // lower-case name -> SQL read in its place
    QHash<QByteArray, sqlite3_stmt *> m_statements;
};

JetType jetTypeFromDeclared(const char *declared);

} // namespace korvesta
