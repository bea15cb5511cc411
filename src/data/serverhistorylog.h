#pragma once

#include "historylog.h"

#include <memory>

namespace korvesta {

class ServerConnection;

// The history of a server document: the document's statement triggers add the images of the
// rows a statement touched to a temporary log table of this session only, so other planners'
// changes are never part of it and nothing of it outlives the session.
class ServerHistoryLog final : public HistoryLog
{
public:
    // Throws DbError when the session's log cannot be made.
    explicit ServerHistoryLog(const std::shared_ptr<ServerConnection> &connection);
    ~ServerHistoryLog() override;

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
    ServerConnection &open() const;
    // Tells the triggers which step the session's rows belong to now.
    void setMode();

    std::weak_ptr<ServerConnection> m_connection;
    qint64 m_scope = 0;  // the open scope's step, 0 when none
    qint64 m_scopes = 0; // scopes opened so far: their steps are numbered by it
    bool m_unrecorded = false;
    qint64 m_known = 0; // the last log row of the steps taken
};

} // namespace korvesta
