#pragma once

#include "historylog.h"

#include <memory>

namespace korvesta {

class SqliteConnection;

// The history of a document file: temporary triggers of the connection add the before and
// after image of each row a change touches to a temporary log table, so nothing of it is
// stored in the file.
class SqliteHistoryLog final : public HistoryLog
{
public:
    // Throws DbError when the triggers cannot be made.
    explicit SqliteHistoryLog(const std::shared_ptr<SqliteConnection> &connection);
    ~SqliteHistoryLog() override;

    qint64 openScope() override;
    void closeScope() override;
    void setUnrecorded(bool on) override;
    std::vector<Step> completedSteps() override;
    void forget(const std::vector<qint64> &steps) override;
    bool writing() override;
    Outcome apply(qint64 step, bool undoing, const std::function<void()> &before,
                  const std::function<QString()> &after) override;
    std::vector<QDate> dates(qint64 step) override;
    std::vector<QDate> protectedDates(qint64 step) override;
    std::vector<std::pair<int, int>> lessonLines(qint64 step) override;
    QStringList tables(qint64 step) override;
    std::vector<History::TableChanges> pending() override;
    qint64 changeCount() const override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace korvesta
