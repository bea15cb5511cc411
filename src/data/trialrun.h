#pragma once

#include "database.h"
#include "history.h"

#include <QTextStream>

#include <optional>
#include <vector>

namespace korvesta {

// A change tried and taken back: everything done on the document while it lives runs in a
// transaction of its own that is never committed, and the changes it made are counted per
// table on the way. The headless commands' --dry-run. Throws DbError.
class TrialRun
{
public:
    explicit TrialRun(const Database &db);
    ~TrialRun();
    TrialRun(const TrialRun &) = delete;
    TrialRun &operator=(const TrialRun &) = delete;

    // What the change has done so far: rows added, changed and removed per table.
    std::vector<History::TableChanges> changes();
    // The counts as a table ("Таблица\tДобавлено\tИзменено\tУдалено" and a row per table)
    // on out, and the note that nothing was written on err.
    void report(QTextStream &out, QTextStream &err);

private:
    // The history the trial counts with; its own when the document had none.
    History *m_history = nullptr;
    bool m_ownHistory = false;
    std::optional<Database::Transaction> m_transaction;
};

} // namespace korvesta
