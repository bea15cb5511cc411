#pragma once

#include "connection.h"

struct sqlite3;
struct sqlite3_stmt;

namespace korvesta {

// A document in a file: one open SQLite connection, with its prepared statements cached by
// SQL text.
class SqliteConnection final : public Connection
{
public:
    SqliteConnection(QString path, sqlite3 *db, quint64 device, quint64 inode);
    ~SqliteConnection() override;

    sqlite3 *handle() const { return m_db; }
    bool isReadOnly() const override;
    bool stillAtPath() const override;

    std::unique_ptr<RecordsetData> query(
        const jet::Translation &t, const std::vector<std::optional<QVariant>> &values) override;
    int execute(const jet::Translation &t,
                const std::vector<std::optional<QVariant>> &values) override;

    void beginWrite() override;
    void exec(const char *sql) override;
    void execQuietly(const char *sql) noexcept override;

    qint64 nextKey(const QString &table) override;
    void updateRow(const QString &table, qint64 row,
                   const std::vector<FieldValue> &values) override;
    qint64 insertRow(const QString &table, const QString &keyColumn, qint64 key,
                     const std::vector<FieldValue> &values) override;
    std::vector<QVariant> readRow(const QString &table, qint64 row,
                                  const QStringList &columns) override;
    void deleteRow(const QString &table, qint64 row) override;

    // A prepared statement from the cache, reset and cleared when the guard goes.
    class Statement
    {
    public:
        Statement(SqliteConnection &c, const QByteArray &sql);
        ~Statement();
        Statement(const Statement &) = delete;
        Statement &operator=(const Statement &) = delete;
        sqlite3_stmt *get() const { return m_stmt; }
        // Steps once; returns true while there is a row. Throws on error.
        bool step();

    private:
        SqliteConnection &m_connection;
        sqlite3_stmt *m_stmt = nullptr;
    };

    // Binds a value converted to the given type; throws on a value of the wrong kind.
    void bind(sqlite3_stmt *stmt, int index, const QVariant &value, JetType type,
              const QString &what);
    [[noreturn]] void raise(int rc, const QString &context = QString()) const;

    quint64 device() const { return m_device; }
    quint64 inode() const { return m_inode; }

protected:
    std::vector<jet::TableInfo> readSchema() override;
    std::vector<std::pair<QString, QString>> readSavedQueries() override;
    void writeSavedQuery(const QString &name, const QString &sql) override;

private:
    sqlite3_stmt *prepare(const QByteArray &sql);
    std::unique_ptr<RecordsetData> read(sqlite3_stmt *stmt, const jet::Translation &t,
                                        int visibleColumns);
    std::unique_ptr<RecordsetData> crosstab(const jet::Translation &t,
                                            const std::vector<std::optional<QVariant>> &values);
    void bindAll(sqlite3_stmt *stmt, const jet::Translation &t,
                 const std::vector<std::optional<QVariant>> &values);

    sqlite3 *m_db = nullptr;
    quint64 m_device = 0;
    quint64 m_inode = 0;
    QHash<QByteArray, sqlite3_stmt *> m_statements;
};

// The file connection of a document: what SQLite alone does (compaction, the file's health,
// the history's triggers, writing a whole document at once). Throws DbError for a document
// that is not in a file.
SqliteConnection &sqliteOf(Connection &c);

} // namespace korvesta
