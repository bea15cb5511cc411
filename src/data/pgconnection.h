#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "data/pgrowsort.h"

#include <vector>

struct pg_conn;
struct pg_result;

namespace korvesta {

// What a statement on the server returned: the columns' names and the rows, each value
// converted from the server's text by its column's type (a Boolean, a number, a date, a
// text; NULL as an invalid QVariant).
struct PgRows
{
    QStringList names;
    // Per column: its type's number, and the table (by number) and the column of the table
    // it comes from (0 for a computed one).
    std::vector<unsigned> types;
    std::vector<unsigned> tables;
    std::vector<int> tableColumns;
    std::vector<std::vector<QVariant>> rows;
};

// One connection to a PostgreSQL server over libpq, by a URI in libpq's own syntax
// (postgresql://host/db, postgresql:///db?host=/run/postgresql). A password comes only from
// libpq's own sources (.pgpass, PGPASSWORD, a service file), never from the program.
// Every failure throws DbError with a Russian message that names the server's reason.
class PgConnection
{
public:
    explicit PgConnection(const QString &uri);
    ~PgConnection();
    PgConnection(const PgConnection &) = delete;
    PgConnection &operator=(const PgConnection &) = delete;

    // A document's name that is a server URI rather than a file's path.
    static bool isServerUri(const QString &name);

    const QString &uri() const { return m_uri; }
    // Runs statements that return no rows (several may be given at once).
    void exec(const QByteArray &sql);
    // Runs one statement with $1..$n parameters, given as values (an invalid QVariant is
    // NULL), and returns its rows, sorted by `sort` when given.
    PgRows query(const QByteArray &sql, const std::vector<QVariant> &parameters = {},
                 const std::vector<PgSortKey> &sort = {});
    // The rows a statement changed, of the last query().
    qint64 changedRows() const { return m_changed; }
    // Whether the server still answers on this connection.
    bool isAlive() const;
    // Whether a transaction is open on the connection.
    bool inTransaction() const;
    // What the server announced on the channels this connection listens to, as read so far
    // (reading what has arrived on the socket, without waiting): the channel, the text, and
    // the server process of the session that announced it.
    struct Notification
    {
        QByteArray channel;
        QByteArray payload;
        int process = 0;
    };
    std::vector<Notification> notifications();
    // The connection's socket (to watch for announcements), and its own server process.
    int socket() const;
    int serverProcess() const;
    // Sends rows in COPY's text format to a COPY ... FROM STDIN statement.
    void copyIn(const QByteArray &copySql, const QByteArray &rows);

private:
    [[noreturn]] void fail(const QString &what, const pg_result *result = nullptr) const;

    QString m_uri;
    pg_conn *m_conn = nullptr;
    qint64 m_changed = 0;
    // Statements prepared on the server by their text: the same statement again is neither
    // parsed nor planned again.
    QHash<QByteArray, QByteArray> m_prepared;
    quint64 m_statementNumber = 0;
};

// A value as COPY's text format writes it: NULL as \N, special characters escaped.
QByteArray copyText(const QVariant &value);

} // namespace korvesta
