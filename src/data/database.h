#pragma once

#include "jettype.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <utility>
#include <vector>

namespace korvesta {

class Connection;
class QueryDef;
class Recordset;

// A handle on one open document. Cheap to copy: copies share the connection. Every
// statement runs in its own transaction unless a Transaction is open, so a change is on
// disk when the call that made it returns.
//
// All operations throw DbError on failure (see dberror.h for the numbers).
class Database
{
public:
    enum class Mode { ReadWrite, ReadOnly };

    // Opens an existing document; never creates a file. Throws FileNotFound for a missing
    // file and ForeignFormat for a folder or a file that is not one of our documents.
    // ReadWrite is for the window and for commands that change data: it brings a document
    // of an earlier layout up to date (once). ReadOnly writes nothing at all.
    static Database open(const QString &path, Mode mode = Mode::ReadWrite);

    // Drops the cached connection of a path (before the file is deleted or replaced).
    static void forget(const QString &path);
    static void forgetAll();

    QString path() const;
    // The file cannot be written, or a later version of the program made the document
    // (it is then read, and every change is refused with that reason).
    bool isReadOnly() const;
    bool isFromNewerVersion() const;

    // SQL text in the program's dialect, a table name or a saved query name.
    Recordset openRecordset(const QString &sqlOrName) const;
    // Runs a statement that changes data (or a saved action query); returns rows affected.
    int execute(const QString &sql) const;

    bool hasQueryDef(const QString &name) const;
    // Throws TooFewParameters when no saved query has that name.
    QueryDef queryDef(const QString &name) const;
    // Adds or replaces a saved query.
    void createQueryDef(const QString &name, const QString &sql) const;
    // Opens the saved query `reader` as if each saved query named in `texts` had the text
    // given there; the document keeps its own texts and is not written. Throws
    // TooFewParameters when any of the queries is missing.
    Recordset openWithQueryTexts(const QString &reader,
                                 const std::vector<std::pair<QString, QString>> &texts) const;
    QStringList queryDefNames() const;

    // Inside a transaction, before its checks: holds the timetable of these dates until the
    // transaction ends, so that another planner's command on one of them (on a server
    // document) waits instead of checking and writing in between; the dates are taken in
    // ascending order, so two commands never wait for each other. lockLoad holds the whole
    // teaching load so (a placement holds it shared: load lines stay while lessons are put on
    // them). Throws DbError with the Russian message when the wait is too long.
    void lockDates(const std::vector<QDate> &dates) const;
    void lockLoad() const;
    // Inside a transaction, before counting the hours of load lines (a group's lessons of a
    // job): holds them until it ends, so that two commands never both give a line its last
    // hour. Taken in ascending order; a command that holds dates takes these after them.
    void lockLoadLines(std::vector<std::pair<int, int>> lines) const;
    // Inside a transaction, instead of lockDates for a command that writes a few lessons of a
    // date: holds the date shared (a command holding it whole waits, and is waited for) and
    // these lesson numbers, groups and tutors of it alone (their clash rules and the day's
    // limits), so that planners placing other lessons of the date do not wait.
    void lockDateCells(const QDate &date, std::vector<int> lessons, std::vector<int> groups,
                       std::vector<int> tutors) const;
    // Inside a transaction: lessons of protected dates may be deleted in it (a group, a
    // tutor deleted with their lessons). A server refuses them otherwise.
    void allowProtectedDates() const;
    // The password that guards lifting a date's protection, when the document keeps it for
    // every planner (a server document; a file's is the user's setting). Giving it holds for
    // the open transaction; false when it is wrong. Throws DbError.
    bool keepsEditPassword() const;
    bool hasEditPassword() const;
    bool giveEditPassword(const QString &password) const;
    bool changeEditPassword(const QString &present, const QString &wanted) const;

    // Writes a compacted copy; fails when the destination exists.
    void compactTo(const QString &destination) const;

    // Groups several changes into one transaction, which holds the document's write lock from
    // its start. Rolls back unless committed. A transaction opened inside another one is a
    // part of it: its commit keeps its changes for the outer one to commit, and without a
    // commit only its own changes are taken back.
    class Transaction
    {
    public:
        explicit Transaction(const Database &db);
        ~Transaction();
        void commit();
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;

    private:
        std::shared_ptr<Connection> m_connection;
        QByteArray m_savepoint; // empty for the outermost transaction
        bool m_done = false;
    };

    std::shared_ptr<Connection> connection() const { return m_connection; }

private:
    friend class History; // names a row another program changed under a step
    explicit Database(std::shared_ptr<Connection> connection);
    std::shared_ptr<Connection> m_connection;
};

} // namespace korvesta
