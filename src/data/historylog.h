#pragma once

#include "history.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <utility>
#include <vector>

namespace korvesta {

// How one engine records a document's changes for its History: the before and after image of
// every row a change touched, grouped into steps, and the writing back of one step's images.
// The History keeps the steps' order, captions and limits; the log keeps the rows.
class HistoryLog
{
public:
    struct Step
    {
        qint64 id = 0;
        qint64 rows = 0;
    };

    virtual ~HistoryLog() = default;

    // A History::Step scope begins (the outermost one): what it changes until closeScope() is
    // one step, reported under the id returned.
    virtual qint64 openScope() = 0;
    virtual void closeScope() = 0;
    // While on, changes are logged apart, as no step (they stay when steps are undone).
    virtual void setUnrecorded(bool on) = 0;

    // The steps completed since the last call, oldest first.
    virtual std::vector<Step> completedSteps() = 0;
    virtual void forget(const std::vector<qint64> &steps) = 0;
    // A transaction of the connection is open.
    virtual bool writing() = 0;
    // Writes the step's before images back (undoing) or its after images again, in one
    // transaction, while every row still equals the image it had then: `before` runs in the
    // transaction first, `after` once the images are written, and a refusal it returns takes
    // the transaction back. Returns the table of a row changed since or the refusal (then
    // nothing is written); throws DbError on failure.
    struct Outcome
    {
        QString changedTable;
        QVariantMap changedRow; // a row of it changed since, by column, where it is known
        QString refusal;
    };
    virtual Outcome apply(qint64 step, bool undoing, const std::function<void()> &before,
                          const std::function<QString()> &after) = 0;
    // The dates whose lessons the step changes.
    virtual std::vector<QDate> dates(qint64 step) = 0;
    // The load lines (group, job) of the lessons the step changes, before or after it.
    virtual std::vector<std::pair<int, int>> lessonLines(qint64 step) = 0;
    // The tables the step writes.
    virtual QStringList tables(qint64 step) = 0;
    // The protected dates whose lessons the step changes, protected after it was made.
    virtual std::vector<QDate> protectedDates(qint64 step) = 0;
    // What the changes of the open transaction do, per table.
    virtual std::vector<History::TableChanges> pending() = 0;
    // Grows with every transaction the connection ends.
    virtual qint64 changeCount() const = 0;
};

} // namespace korvesta
