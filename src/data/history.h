#pragma once

#include "database.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

#include <memory>
#include <utility>
#include <vector>

namespace korvesta {

class Connection;
class HistoryLog;

// The history of changes of the open document: what "Отменить" and "Повторить" work on.
//
// Every change written through the document's connection is recorded, whatever wrote it (a
// recordset, an action query, a saved query): the engine keeps the before and after image of
// each row it touched. One step is one outermost Database::Transaction, or one statement
// outside a transaction, or everything done inside a History::Step scope; a step that touched
// no row is not recorded. Undo writes the before images back in reverse order in one
// transaction, and only while every row still equals its after image; redo writes the after
// images again under the mirror condition. A row another program has changed since makes the
// undo refuse with a message, and the document is left as it was.
//
// One document at a time has a history: attaching another one drops the first one's. A
// document that cannot be written gets none, and nothing of the history is ever written to
// the file. All operations throw DbError on failure.
class History
{
public:
    // The number of steps kept; older ones are forgotten, also while the steps together hold
    // more rows than the limit (the whole year of a large college is some 150 000).
    static constexpr int kStepLimit = 200;
    static constexpr qint64 kRowLimit = 2'000'000;

    // Starts recording the document's changes (nothing happens when it is already recorded)
    // and drops the history of any other document. Returns nullptr, having dropped any
    // history, for a document that cannot be written.
    static History *attach(const Database &db);
    // The history of the document, or nullptr when its changes are not recorded.
    static History *of(const Database &db);
    // The history being recorded, whichever document it belongs to; nullptr when none.
    static History *current();
    // Stops recording and forgets every history.
    static void detachAll();

    // Groups everything done while it lives into one step named by the caption ("копирование
    // недели 14.09–19.09.2026"). Nested scopes belong to the outermost one. Costs nothing
    // when the document has no history.
    class Step
    {
    public:
        Step(const Database &db, const QString &caption);
        ~Step();
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;

    private:
        History *m_history = nullptr;
        std::weak_ptr<Connection> m_connection;
    };

    // Changes made while it lives are no step of the history: they are not undone, and they
    // stay when the steps around them are undone or redone (the protection of a date, which
    // only its password may lift). Costs nothing when the document has no history.
    class Unrecorded
    {
    public:
        explicit Unrecorded(const Database &db);
        ~Unrecorded();
        Unrecorded(const Unrecorded &) = delete;
        Unrecorded &operator=(const Unrecorded &) = delete;

    private:
        History *m_history = nullptr;
        bool m_wasPaused = false;
    };

    // Rows a table has gained, changed and lost.
    struct TableChanges
    {
        QString table;
        qint64 added = 0;
        qint64 changed = 0;
        qint64 removed = 0;
    };

    bool canUndo();
    bool canRedo();
    // The caption of the step undo or redo would apply (empty when there is none), and every
    // caption, the nearest first.
    QString undoCaption();
    QString redoCaption();
    QStringList undoCaptions();
    QStringList redoCaptions();

    // The clashes of the timetable on some dates, by the timetable check's rules (which the
    // history does not know), and the load lines (group, job) the step's lessons belong to:
    // counted inside the transaction that undoes or redoes a step, before and after it writes.
    using ClashCount = std::function<int(const std::vector<QDate> &dates,
                                         const std::vector<std::pair<int, int>> &lines)>;

    // Applies the inverse of the last step, or the step undone last, holding the step's dates
    // (as every command that writes them does). Throws DbError with the reason when the
    // document has changed under the step, when the step would change the lessons of a date
    // protected since, or when it would make a clash with lessons another planner placed
    // since (given how to count them); then nothing is written and the history stays as it
    // was.
    void undo(const ClashCount &clashes = {});
    void redo(const ClashCount &clashes = {});
    // What the last undo or redo wrote: the step's dates and the tables it changed, so that
    // the window refreshes only what it touched.
    struct Applied
    {
        std::vector<QDate> dates;
        QStringList tables;
    };
    const Applied &lastApplied() const;
    void clear();

    // Grows with every transaction the document's connection ends: what the history offers
    // may have changed when it has (read without touching the document).
    qint64 changeCount() const;

    // What the changes not yet made a step (those of the open transaction) do, per table.
    std::vector<TableChanges> pendingChanges();

    ~History();
    History(const History &) = delete;
    History &operator=(const History &) = delete;

private:
    struct Impl;
    History(const std::shared_ptr<Connection> &connection, std::unique_ptr<HistoryLog> log);
    void apply(bool undoing, const ClashCount &clashes);
    std::unique_ptr<Impl> d;
};

} // namespace korvesta
