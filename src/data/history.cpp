#include "history.h"

#include "changedrow.h"
#include "database.h"
#include "dberror.h"
#include "historylog.h"
#include "serverconnection.h"
#include "serverhistorylog.h"
#include "sqliteconnection.h"
#include "sqlitehistorylog.h"

#include <algorithm>
#include <map>

// The engine's log keeps the rows of the steps (HistoryLog); the history keeps which steps can
// be undone and redone, their captions and the limits on how many it keeps.

namespace korvesta {

namespace {

const QString kDefaultCaption = QStringLiteral("изменение данных");

std::unique_ptr<History> &currentHistory()
{
    static std::unique_ptr<History> history;
    return history;
}

} // namespace

struct History::Impl
{
    struct StepInfo
    {
        qint64 id = 0;
        QString caption;
        qint64 rows = 0;
    };

    std::weak_ptr<Connection> connection;
    std::unique_ptr<HistoryLog> log;
    int scopeDepth = 0;
    bool unrecorded = false;
    std::map<qint64, QString> captions; // of the scopes not yet taken from the log
    std::vector<StepInfo> done;         // oldest first
    std::vector<StepInfo> undone;       // the one to redo last
    Applied lastApplied;

    std::shared_ptr<Connection> alive() const { return connection.lock(); }

    void forget(const std::vector<StepInfo> &steps)
    {
        std::vector<qint64> ids;
        for (const StepInfo &step : steps)
            ids.push_back(step.id);
        log->forget(ids);
    }

    // Takes the steps completed since the last look from the log. A new step drops what
    // could be redone.
    void sync()
    {
        if (!alive())
            return;
        const std::vector<HistoryLog::Step> found = log->completedSteps();
        if (found.empty())
            return;
        forget(undone);
        undone.clear();
        for (const HistoryLog::Step &step : found) {
            auto caption = captions.find(step.id);
            done.push_back({step.id, caption == captions.end() ? kDefaultCaption : caption->second,
                            step.rows});
            if (caption != captions.end())
                captions.erase(caption);
        }
        // Scopes that changed nothing leave their captions behind.
        while (captions.size() > size_t(kStepLimit))
            captions.erase(captions.begin());
        // The oldest steps go beyond the limit, and while the steps hold more rows than
        // memory should (the last step is always kept).
        qint64 total = 0;
        for (const StepInfo &step : done)
            total += step.rows;
        size_t excess = done.size() > size_t(kStepLimit) ? done.size() - size_t(kStepLimit) : 0;
        for (size_t i = 0; i < excess; ++i)
            total -= done[i].rows;
        while (excess + 1 < done.size() && total > kRowLimit)
            total -= done[excess++].rows;
        if (excess > 0) {
            const auto end = done.begin() + qsizetype(excess);
            forget(std::vector<StepInfo>(done.begin(), end));
            done.erase(done.begin(), end);
        }
    }
};

History::History(const std::shared_ptr<Connection> &connection, std::unique_ptr<HistoryLog> log)
    : d(std::make_unique<Impl>())
{
    d->connection = connection;
    d->log = std::move(log);
}

History::~History() = default;

History *History::attach(const Database &db)
{
    const std::shared_ptr<Connection> c = db.connection();
    std::unique_ptr<History> &held = currentHistory();
    if (held && held->d->alive() == c)
        return held.get();
    held.reset();
    if (!c || db.isReadOnly())
        return nullptr;
    std::unique_ptr<HistoryLog> log;
    if (auto file = std::dynamic_pointer_cast<SqliteConnection>(c))
        log = std::make_unique<SqliteHistoryLog>(file);
    else if (auto server = std::dynamic_pointer_cast<ServerConnection>(c))
        log = std::make_unique<ServerHistoryLog>(server);
    else
        return nullptr;
    held.reset(new History(c, std::move(log)));
    return held.get();
}

History *History::of(const Database &db)
{
    std::unique_ptr<History> &held = currentHistory();
    if (held && held->d->alive() == db.connection())
        return held.get();
    return nullptr;
}

History *History::current()
{
    return currentHistory().get();
}

qint64 History::changeCount() const
{
    return d->log->changeCount();
}

void History::detachAll()
{
    currentHistory().reset();
}

History::Step::Step(const Database &db, const QString &caption)
    : m_history(History::of(db))
    , m_connection(db.connection())
{
    if (!m_history)
        return;
    Impl &d = *m_history->d;
    if (d.scopeDepth++ == 0)
        d.captions[d.log->openScope()] = caption;
}

History::Step::~Step()
{
    if (!m_history || currentHistory().get() != m_history
        || m_history->d->alive() != m_connection.lock())
        return;
    Impl &d = *m_history->d;
    if (--d.scopeDepth == 0) {
        try {
            d.log->closeScope();
        } catch (const DbError &) {
            // The connection is gone: so is its history.
        }
    }
}

History::Unrecorded::Unrecorded(const Database &db)
    : m_history(History::of(db))
{
    if (m_history) {
        m_wasPaused = m_history->d->unrecorded;
        m_history->d->unrecorded = true;
        if (!m_wasPaused)
            m_history->d->log->setUnrecorded(true);
    }
}

History::Unrecorded::~Unrecorded()
{
    if (m_history && currentHistory().get() == m_history) {
        m_history->d->unrecorded = m_wasPaused;
        if (!m_wasPaused) {
            try {
                m_history->d->log->setUnrecorded(false);
            } catch (const DbError &) {
                // The connection is gone: so is its history.
            }
        }
    }
}

bool History::canUndo()
{
    d->sync();
    return !d->done.empty();
}

bool History::canRedo()
{
    d->sync();
    return !d->undone.empty();
}

QString History::undoCaption()
{
    d->sync();
    return d->done.empty() ? QString() : d->done.back().caption;
}

QString History::redoCaption()
{
    d->sync();
    return d->undone.empty() ? QString() : d->undone.back().caption;
}

QStringList History::undoCaptions()
{
    d->sync();
    QStringList list;
    for (auto it = d->done.rbegin(); it != d->done.rend(); ++it)
        list << it->caption;
    return list;
}

QStringList History::redoCaptions()
{
    d->sync();
    QStringList list;
    for (auto it = d->undone.rbegin(); it != d->undone.rend(); ++it)
        list << it->caption;
    return list;
}

void History::clear()
{
    d->sync();
    if (d->alive()) {
        d->forget(d->done);
        d->forget(d->undone);
    }
    d->done.clear();
    d->undone.clear();
}

void History::undo(const ClashCount &clashes)
{
    apply(true, clashes);
}

void History::redo(const ClashCount &clashes)
{
    apply(false, clashes);
}

std::vector<History::TableChanges> History::pendingChanges()
{
    if (!d->alive())
        return {};
    std::vector<TableChanges> result = d->log->pending();
    std::sort(result.begin(), result.end(),
              [](const TableChanges &a, const TableChanges &b) { return a.table < b.table; });
    return result;
}

void History::apply(bool undoing, const ClashCount &clashes)
{
    d->sync();
    std::vector<Impl::StepInfo> &from = undoing ? d->done : d->undone;
    std::vector<Impl::StepInfo> &to = undoing ? d->undone : d->done;
    if (from.empty())
        throw DbError(dberr::Failed, undoing ? QStringLiteral("Отменять нечего")
                                             : QStringLiteral("Повторять нечего"));
    const std::shared_ptr<Connection> c = d->alive();
    if (!c)
        throw DbError(dberr::Failed, QStringLiteral("Документ закрыт: история изменений пуста"));
    // A document replaced on disk is another document: its rows are not those of the steps.
    const std::shared_ptr<Connection> now = Connection::acquire(c->path(), false);
    if (now != c) {
        clear();
        throw DbError(dberr::Failed,
                      QStringLiteral("Файл документа «%1» заменён другим файлом. Отменять и "
                                     "повторять в нём нечего: история изменений очищена")
                          .arg(c->path()));
    }
    if (c->m_transactionDepth > 0 || d->log->writing())
        throw DbError(dberr::Failed,
                      QStringLiteral("Документ записывается: отмена и повтор сейчас невозможны"));

    const Impl::StepInfo step = from.back();
    const QString verb = undoing ? QStringLiteral("Отменить") : QStringLiteral("Повторить");
    QStringList dates;
    for (const QDate &date : d->log->protectedDates(step.id))
        dates << date.toString(QStringLiteral("dd.MM.yyyy"));
    if (!dates.isEmpty())
        throw DbError(dberr::Failed,
                      QStringLiteral("%1 «%2» невозможно: %3 для редактирования. Документ "
                                     "оставлен без изменений")
                          .arg(verb, step.caption,
                               dates.size() == 1
                                   ? QStringLiteral("дата %1 заблокирована").arg(dates.front())
                                   : QStringLiteral("даты %1 заблокированы")
                                         .arg(dates.join(QStringLiteral(", ")))));
    // The step's dates are held as a command holds them, and the clashes on them counted
    // before and after: lessons another planner placed since may stand where the step's were.
    const std::vector<QDate> days = d->log->dates(step.id);
    const QStringList tables = d->log->tables(step.id);
    const std::vector<std::pair<int, int>> lines =
        clashes ? d->log->lessonLines(step.id) : std::vector<std::pair<int, int>>();
    int clashesBefore = 0;
    const auto before = [&] {
        std::vector<qint64> numbers;
        for (const QDate &day : days)
            numbers.push_back(day.toJulianDay());
        c->lockDates(numbers);
        if (clashes)
            clashesBefore = clashes(days, lines);
    };
    const auto after = [&]() -> QString {
        if (!clashes || clashes(days, lines) <= clashesBefore)
            return QString();
        QStringList shown;
        for (const QDate &day : days)
            shown << day.toString(QStringLiteral("dd.MM.yyyy"));
        return QStringLiteral("после него на %1 поставлены другие занятия, и они совпали бы с "
                              "его занятиями")
            .arg(shown.join(QStringLiteral(", ")));
    };
    HistoryLog::Outcome outcome;
    ++c->m_transactionDepth;
    try {
        outcome = d->log->apply(step.id, undoing, before, after);
    } catch (...) {
        --c->m_transactionDepth;
        c->reloadSavedQueries();
        throw;
    }
    --c->m_transactionDepth;
    c->reloadSavedQueries();
    if (!outcome.changedTable.isEmpty()) {
        const QString row =
            changedRowText(Database(c), outcome.changedTable, outcome.changedRow);
        if (row.isEmpty())
            throw DbError(dberr::Failed,
                          QStringLiteral("%1 «%2» невозможно: после него эти данные (таблица %3) "
                                         "изменила другая программа. Документ оставлен без "
                                         "изменений")
                              .arg(verb, step.caption, outcome.changedTable));
        throw DbError(dberr::Failed,
                      QStringLiteral("%1 «%2» невозможно: после него %3 изменила другая "
                                     "программа (таблица %4). Документ оставлен без изменений")
                          .arg(verb, step.caption, row, outcome.changedTable));
    }
    if (!outcome.refusal.isEmpty())
        throw DbError(dberr::Failed,
                      QStringLiteral("%1 «%2» невозможно: %3. Документ оставлен без изменений")
                          .arg(verb, step.caption, outcome.refusal));
    from.pop_back();
    to.push_back(step);
    d->lastApplied = {days, tables};
}

const History::Applied &History::lastApplied() const
{
    return d->lastApplied;
}

} // namespace korvesta
