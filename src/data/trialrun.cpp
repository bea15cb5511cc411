#include "trialrun.h"

namespace korvesta {

TrialRun::TrialRun(const Database &db)
{
    m_history = History::of(db);
    if (!m_history) {
        m_history = History::attach(db);
        m_ownHistory = m_history != nullptr;
    }
    m_transaction.emplace(db);
}

TrialRun::~TrialRun()
{
    m_transaction.reset(); // never committed: rolled back
    if (m_ownHistory)
        History::detachAll();
}

std::vector<History::TableChanges> TrialRun::changes()
{
    return m_history ? m_history->pendingChanges() : std::vector<History::TableChanges>{};
}

void TrialRun::report(QTextStream &out, QTextStream &err)
{
    out << QStringLiteral("Таблица\tДобавлено\tИзменено\tУдалено") << '\n';
    for (const History::TableChanges &c : changes())
        out << c.table << '\t' << c.added << '\t' << c.changed << '\t' << c.removed << '\n';
    out.flush();
    err << QStringLiteral("Пробный запуск: документ не изменён") << Qt::endl;
}

} // namespace korvesta
