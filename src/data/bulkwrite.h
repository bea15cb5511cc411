#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct sqlite3;
struct sqlite3_stmt;

class QDate;

namespace korvesta {

class Database;

// Writing many rows at once, as a whole document is written (the sample college): SQLite's
// own SQL on the document's connection, without the dialect's translation, inside the
// caller's transaction.

// A prepared INSERT with positional parameters, run once per row.
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
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    int m_index = 0;
};

// The key of a row of a type list that the template carries. Throws DbError when there is
// none.
qint64 templateKey(const Database &db, const char *table, const char *field, const char *value);

// Runs statements in SQLite's own SQL. Throws DbError.
void executeNative(const Database &db, const QByteArray &sql);

// Drops the indexes of a table; returns the statements that create them again.
QStringList dropIndexes(const Database &db, const char *table);

} // namespace korvesta
