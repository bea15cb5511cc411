#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class QDate;

namespace korvesta {

class Database;

class ServerConnection;

// Writing many rows at once, as a whole document is written (the sample college): the
// engine's own SQL on the document's connection, without the dialect's translation, inside
// the caller's transaction.

// A prepared INSERT with positional parameters (?), run once per row; names in double
// quotes where their letter case matters (the server keeps it).
class BulkInsert
{
public:
    BulkInsert(const Database &db, const char *sql);
    ~BulkInsert();
    BulkInsert(const BulkInsert &) = delete;
    BulkInsert &operator=(const BulkInsert &) = delete;

    BulkInsert &operator<<(qint64 value);
    BulkInsert &operator<<(const QString &text); // a null text is Null
    BulkInsert &operator<<(const QDate &date);   // an invalid date is Null
    BulkInsert &null();

    // Writes the row; returns its key.
    qint64 run();

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    int m_index = 0;
    // On a server: the statement with $n parameters and the row's values.
    ServerConnection *m_server = nullptr;
    QByteArray m_serverSql;
    std::vector<QVariant> m_values;
};

// The key of a row of a type list that the template carries. Throws DbError when there is
// none.
qint64 templateKey(const Database &db, const char *table, const char *field, const char *value);

// Runs statements in SQLite's own SQL. Throws DbError.
void executeNative(const Database &db, const QByteArray &sql);

// Drops the indexes of a table; returns the statements that create them again.
QStringList dropIndexes(const Database &db, const char *table);

} // namespace korvesta
