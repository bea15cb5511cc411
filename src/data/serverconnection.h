#pragma once

#include "connection.h"
#include "pgconnection.h"

#include <QHash>

namespace korvesta {

// A document on a PostgreSQL server: the dialect translated for the server, run over one
// libpq connection, rows read back by their column types.
class ServerConnection final : public Connection
{
public:
    // Throws DbError: the server out of reach, or a database that holds no document.
    explicit ServerConnection(const QString &uri);

    bool isReadOnly() const override { return m_readOnly; }
    bool stillAtPath() const override;

    std::unique_ptr<RecordsetData> query(
        const jet::Translation &t, const std::vector<std::optional<QVariant>> &values) override;
    int execute(const jet::Translation &t,
                const std::vector<std::optional<QVariant>> &values) override;

    void beginWrite() override;
    void exec(const char *sql) override;
    void execQuietly(const char *sql) noexcept override;
    void lockDates(const std::vector<qint64> &days) override;
    void lockLoad() override;
    void lockLoadLines(const std::vector<std::pair<int, int>> &lines) override;
    void lockDateCells(qint64 day, const std::vector<int> &lessons, const std::vector<int> &groups,
                       const std::vector<int> &tutors) override;
    void allowProtectedDates() override;
    bool keepsEditPassword() const override { return true; }
    bool hasEditPassword() override;
    bool giveEditPassword(const QString &password) override;
    bool changeEditPassword(const QString &present, const QString &wanted) override;

    qint64 nextKey(const QString &table) override;
    void updateRow(const QString &table, qint64 row,
                   const std::vector<FieldValue> &values) override;
    qint64 insertRow(const QString &table, const QString &keyColumn, qint64 key,
                     const std::vector<FieldValue> &values) override;
    std::vector<QVariant> readRow(const QString &table, qint64 row,
                                  const QStringList &columns) override;
    void deleteRow(const QString &table, qint64 row) override;

    // The program's advisory locks, which end with their transaction: (kDateLocks, day
    // number) holds a date of the timetable, (kLoadLock, 0) the teaching load, and the one
    // number kLineLocks + group key * 2^24 + job key a load line's hours. Another program
    // that writes the timetable takes them as well.
    static constexpr int kDateLocks = 0x4b56'0001;
    static constexpr int kLoadLock = 0x4b56'0002;
    static constexpr qint64 kLineLocks = qint64(0x4b56) << 48;
    // A date's lesson (day number * 2^8 + lesson), group and tutor (day number * 2^24 + key),
    // held by a command that writes a few lessons of a date it holds shared.
    static constexpr qint64 kCellLocks = qint64(0x4b57) << 48;
    static constexpr qint64 kDayGroupLocks = qint64(0x4b58) << 48;
    static constexpr qint64 kDayTutorLocks = qint64(0x4b59) << 48;

    PgConnection &server() { return m_server; }
    // Grows with every transaction the connection ends (a statement outside one included).
    qint64 transactionsEnded() const { return m_transactionsEnded; }

protected:
    std::vector<jet::TableInfo> readSchema() override;
    std::vector<std::pair<QString, QString>> readSavedQueries() override;
    void writeSavedQuery(const QString &name, const QString &sql) override;
    jet::Dialect dialect() const override { return jet::Dialect::Postgres; }

private:
    std::vector<QVariant> parameters(const jet::Translation &t,
                                     const std::vector<std::optional<QVariant>> &values) const;
    QByteArray rowNumber(const QString &table);
    std::unique_ptr<RecordsetData> crosstab(const jet::Translation &t,
                                            const std::vector<std::optional<QVariant>> &values);

    // Runs one statement of a transaction so that its failure takes back only itself, as in
    // the file engine (the server would otherwise refuse every later statement of the
    // transaction).
    PgRows statement(const QByteArray &sql, const std::vector<QVariant> &parameters,
                     const std::vector<PgSortKey> &sort = {});

    PgConnection m_server;
    bool m_readOnly = false;
    qint64 m_transactionsEnded = 0;
    // Column names of the document's tables by the server's numbers: (table, column).
    QHash<QPair<unsigned, int>, QPair<QString, QString>> m_columnsByNumber;
};

} // namespace korvesta
