#pragma once

#include "jet/jettranslator.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace korvesta {

struct RecordsetData;

// One open document, with the caches that make running the same statements again cheap:
// translations by text, the schema and the saved queries. What runs the statements is the
// engine's (SqliteConnection for a file); nothing above the data layer knows which engine a
// document is on. File connections are kept per path and checked against the file on every
// open, so a replaced or deleted file is never read through a stale one.
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

    // The document's name: a file's path.
    const QString &path() const { return m_path; }
    virtual bool isReadOnly() const = 0;
    // Whether the name still leads to the document this connection has open: false once
    // another program deleted the file or put another in its place.
    virtual bool stillAtPath() const = 0;

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
    virtual std::unique_ptr<RecordsetData> query(
        const jet::Translation &t, const std::vector<std::optional<QVariant>> &values) = 0;
    virtual int execute(const jet::Translation &t,
                        const std::vector<std::optional<QVariant>> &values) = 0;

    // Transactions: the outermost begins by taking the document's write lock, so that what
    // it reads is what it writes over; inner ones are savepoints (SAVEPOINT, RELEASE and
    // ROLLBACK TO through exec).
    virtual void beginWrite() = 0;
    // A statement of the engine's own SQL that returns no rows. Throws DbError.
    virtual void exec(const char *sql) = 0;
    // The same, for taking changes back: a failure is not reported.
    virtual void execQuietly(const char *sql) noexcept = 0;
    int m_transactionDepth = 0;
    // Within the open transaction, waits for the timetable of each day (its day number) and
    // for the teaching load: see Database::lockDates and lockLoad. A file has one writer at
    // a time already, so by default nothing is waited for.
    virtual void lockDates(const std::vector<qint64> &days) { (void)days; }
    virtual void lockLoad() {}
    // Within the open transaction, waits for the hours of these load lines (group and job,
    // in ascending order): see Database::lockLoadLines.
    virtual void lockLoadLines(const std::vector<std::pair<int, int>> &lines) { (void)lines; }
    // Within the open transaction, waits for the day (its number) shared, then for its
    // lessons, groups and tutors: see Database::lockDateCells.
    virtual void lockDateCells(qint64 day, const std::vector<int> &lessons,
                               const std::vector<int> &groups, const std::vector<int> &tutors)
    {
        (void)day;
        (void)lessons;
        (void)groups;
        (void)tutors;
    }
    // Within the open transaction, lessons of protected dates may go (with a list's row):
    // the server refuses them otherwise.
    virtual void allowProtectedDates() {}
    // The password that guards lifting a date's protection, where the document keeps it (a
    // server document; a file has none of its own): whether there is one, giving it for the
    // open transaction (false when wrong), and changing it once the present one is given.
    virtual bool keepsEditPassword() const { return false; }
    virtual bool hasEditPassword() { return false; }
    virtual bool giveEditPassword(const QString &password)
    {
        (void)password;
        return true;
    }
    virtual bool changeEditPassword(const QString &present, const QString &wanted)
    {
        (void)present;
        (void)wanted;
        return true;
    }

    // A recordset's rows written back, each named by its table's row number (the key of a
    // table that has one).
    struct FieldValue
    {
        QString column;
        QVariant value;
        JetType type = JetType::Unknown;
        QString what; // "поля «…»", for a message about a value of the wrong kind
    };
    // The key the table's next new row takes.
    virtual qint64 nextKey(const QString &table) = 0;
    virtual void updateRow(const QString &table, qint64 row,
                           const std::vector<FieldValue> &values) = 0;
    // Adds a row (with `key` in `keyColumn` when the table has a key); returns its number.
    virtual qint64 insertRow(const QString &table, const QString &keyColumn, qint64 key,
                             const std::vector<FieldValue> &values) = 0;
    // The row's values of the columns as stored: a whole number, a real number or a text.
    virtual std::vector<QVariant> readRow(const QString &table, qint64 row,
                                          const QStringList &columns) = 0;
    virtual void deleteRow(const QString &table, qint64 row) = 0;

protected:
    explicit Connection(QString path);
    // The SQL the engine reads.
    virtual jet::Dialect dialect() const { return jet::Dialect::Sqlite; }

    // A crosstab's columns: each pivot value as an SQL literal (empty for Null) and the
    // column's name. Those the statement fixes (PIVOT ... IN), in their order.
    using PivotColumns = std::vector<std::pair<QString, QString>>;
    static PivotColumns fixedPivotColumns(const jet::Translation &t);
    // The crosstab's final statement over those columns, with its parameters and types.
    static jet::Translation crosstabStatement(const jet::Translation &t,
                                              const PivotColumns &columns,
                                              const QByteArray &collate);
    virtual std::vector<jet::TableInfo> readSchema() = 0;
    virtual std::vector<std::pair<QString, QString>> readSavedQueries() = 0;
    virtual void writeSavedQuery(const QString &name, const QString &sql) = 0;

private:
    void loadSchema();
    void loadSavedQueries();
    void forgetTranslationsOf(const QString &key);

    QString m_path;
    bool m_schemaLoaded = false;
    QHash<QString, jet::TableInfo> m_tables; // by lower-case name
    bool m_queriesLoaded = false;
    QHash<QString, std::pair<QString, QString>> m_queries; // lower-case name -> name, SQL
    QHash<QString, std::shared_ptr<const jet::Translation>> m_translations;
    QHash<QString, QString> m_substitutes; // lower-case name -> SQL read in its place
};

JetType jetTypeFromDeclared(const char *declared);

// A value made ready for a parameter or a field of the given type, as the file engine would
// store it: a date from its text, a whole number from a real one, Yes/No as 1 and 0. Throws
// DbError (TypeMismatch) naming `what` for a value of the wrong kind.
QVariant storedValue(const QVariant &value, JetType type, const QString &what);


} // namespace korvesta
