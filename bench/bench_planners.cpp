// Several planners at once on one server document, for a minute: each planner is a process of
// its own that places, clears (moves), copies and undoes at random through the program's own
// editing code, and one more process only watches the announcements. Afterwards the document
// is checked: no clash the check did not find before, every placement a planner was told was
// written still there (unless that planner took it back), no error that escaped an action.
//
//   bench_planners [--planners N] [--seconds S] [--copies PERCENT] [--pause MS]
//
// --pause gives each planner a pause between two actions (from half to one and a half times
// MS), as a person at the window takes; without it the planners act back to back.
//
// Each planner places and clears only in its own groups (group key modulo N), on the week of
// the sample's busiest day; copies go onto the week after it. Tutors and auditoriums are
// shared by all, which is where the planners meet.

#include "check/timetablecheck.h"
#include "data/database.h"
#include "data/dberror.h"
#include "data/history.h"
#include "data/recordset.h"
#include "data/serverchanges.h"
#include "data/serverdocument.h"
#include "editing/lessonclashes.h"
#include "editing/linehours.h"
#include "editing/placement.h"
#include "editing/progress.h"
#include "editing/timetableclearing.h"
#include "editing/timetablecopying.h"
#include "support/largesample.h"
#include "support/pgcluster.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <set>
#include <tuple>

namespace korvesta {
namespace {

// Declines every question (a placement into an occupied auditorium), unless told to agree
// (a copy over the lessons of its destination), and keeps what it was told.
class CountingPrompts : public SilentPrompts
{
public:
    void message(const QString &text, Icon, const QString &) override { told << text; }
    QStringList told;
};

struct Group
{
    int key = 0;
    QString name, course;
};

struct Cell
{
    int group = 0;
    QDate date;
    int lesson = 0;
    bool operator<(const Cell &o) const
    {
        return std::tuple(group, date.toJulianDay(), lesson)
               < std::tuple(o.group, o.date.toJulianDay(), o.lesson);
    }
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

// One planner: its own session on the server document, its own history.
int runPlanner(int index, int count, const QString &uri, const QDate &monday, int seconds,
               int copies, int pause, const QString &out)
{
    QTemporaryDir folder;
    SettingsStore store(folder.filePath(QStringLiteral("user.ini")));
    SettingsRecord record;
    record.load(store);
    CountingPrompts prompts;
    DocumentSession session(prompts, store, AppPaths{folder.path(), folder.path()});
    session.startFromCommandLine({uri});
    const std::optional<Database> db = session.access();
    if (!db)
        return 2;
    History *history = History::attach(*db);

    std::vector<Group> groups;
    for (Recordset rs = db->openRecordset(
             QStringLiteral("SELECT Key, [Group], Course FROM tblGroups ORDER BY Key"));
         !rs.isEof(); rs.moveNext()) {
        if (rs.value(0).toInt() % count == index)
            groups.push_back({rs.value(0).toInt(), rs.value(1).toString(), rs.value(2).toString()});
    }
    LessonPlacement placement(session, record, store, prompts);
    TimetableClearing clearing(session, record, prompts);
    SilentProgress progress;
    TimetableCopying copying(session, record, store, prompts, progress);

    QRandomGenerator random(quint32(1000 + index));
    std::set<Cell> live; // placed and acknowledged, not taken back by this planner
    std::vector<std::pair<Cell, int>> steps; // this planner's steps: cell, 1 placed into an
                                             // empty cell, 2 cleared, 0 anything else
    std::vector<double> placeMs;
    QJsonObject counts;
    const auto bump = [&](const char *what) {
        counts[QLatin1String(what)] = counts.value(QLatin1String(what)).toInt() + 1;
    };
    const auto randomCell = [&] {
        const Group &g = groups[random.bounded(int(groups.size()))];
        return Cell{g.key, monday.addDays(random.bounded(5)), 1 + random.bounded(8)};
    };
    const auto groupOf = [&](int key) {
        return *std::find_if(groups.begin(), groups.end(),
                             [&](const Group &g) { return g.key == key; });
    };

    const auto place = [&](const Cell &cell) {
        const Group g = groupOf(cell.group);
        std::optional<PlacementChoice> choice =
            placement.openForGroup(cell.date, cell.lesson, g.name, g.course, QString());
        if (!choice) {
            bump("refused");
            return;
        }
        int line = 0;
        for (const PlacementLine &l : choice->lines) {
            if (!l.blocked() && choice->check(l.keyJobList, prompts)) {
                line = l.keyJobList;
                break;
            }
        }
        const std::vector<PlacementAuditorium> free = choice->freeAuditoriums();
        if (line == 0 || free.empty() || choice->lessonTypes.empty()) {
            bump("refused");
            return;
        }
        choice->chooseAuditorium(1, free[random.bounded(int(free.size()))]);
        QElapsedTimer timer;
        timer.start();
        const PlacementResult result =
            placement.add(*choice, PlacementRequest{choice->lessonTypes.front().key, false});
        placeMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (result.outcome == PlacementOutcome::Written) {
            bump("placed");
            live.insert(cell);
            steps.push_back({cell, choice->cellWasEmpty ? 1 : 0});
        } else {
            bump(result.outcome == PlacementOutcome::Dropped ? "dropped" : "refused");
        }
    };

    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < qint64(seconds) * 1000) {
        prompts.told.clear();
        const int r = random.bounded(100);
        try {
            if (r < 55) {
                place(randomCell());
            } else if (r < 75 && !live.empty()) {
                // A move: a lesson of this planner's cleared, another placed.
                auto it = live.begin();
                std::advance(it, random.bounded(int(live.size())));
                const Cell cell = *it;
                const Group g = groupOf(cell.group);
                // Every write that changed rows is one step of the history.
                prompts.yes = true; // "Продолжить?"
                const ClearingOutcome cleared =
                    clearing.clearGroupCell(cell.date, cell.lesson, g.name, g.course, QString());
                prompts.yes = false;
                if (cleared == ClearingOutcome::Done) {
                    bump("cleared");
                    live.erase(cell);
                    steps.push_back({cell, 2});
                    place(randomCell());
                } else {
                    bump("refused");
                }
            } else if (r < 75 + copies) {
                CopyRequest request;
                request.source = monday.addDays(random.bounded(5));
                request.destination = monday.addDays(7 + random.bounded(5));
                prompts.yes = true;
                const CopyReport report = copying.run(request);
                prompts.yes = false;
                bump(report.outcome == CopyOutcome::Done ? "copied" : "refused");
                if (report.outcome == CopyOutcome::Done && !report.copied.empty())
                    steps.push_back({Cell{}, 0});
            } else if (history && history->canUndo() && !steps.empty()) {
                try {
                    history->undo([&](const std::vector<QDate> &dates,
                                      const std::vector<std::pair<int, int>> &lines) {
                        return clashesOn(*db, dates)
                               + (record.JobOverFlow ? linesOverHours(*db, lines) : 0);
                    });
                    bump("undone");
                    const auto [cell, kind] = steps.back();
                    steps.pop_back();
                    if (kind == 1)
                        live.erase(cell);
                    else if (kind == 2)
                        live.insert(cell);
                } catch (const DbError &) {
                    bump("undo refused"); // another planner changed its rows since
                }
            }
        } catch (const std::exception &e) {
            bump("unhandled");
            std::fprintf(stderr, "planner %d: %s\n", index, e.what());
        }
        if (pause > 0)
            QThread::msleep(ulong(pause / 2 + random.bounded(pause + 1)));
        for (const QString &text : prompts.told) {
            if (text.contains(QStringLiteral("Другой плановик")))
                bump("waited too long");
            else if (text.contains(QStringLiteral("Сервер не выполнил")))
                bump("server error");
        }
    }

    QJsonArray cells;
    for (const Cell &c : live)
        cells.append(QJsonArray{c.group, c.date.toString(Qt::ISODate), c.lesson});
    QJsonArray latencies;
    for (const double ms : placeMs)
        latencies.append(ms);
    QJsonObject result{{QStringLiteral("counts"), counts},
                       {QStringLiteral("live"), cells},
                       {QStringLiteral("placeMs"), latencies},
                       {QStringLiteral("seconds"), double(clock.elapsed()) / 1000.0}};
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(QJsonDocument(result).toJson());
    return 0;
}

// The process that only watches: how long after its commit each change is announced.
int runWatcher(const QString &uri, int seconds, const QString &out)
{
    const Database db = Database::open(uri);
    ServerChangeWatch watch;
    watch.watch(db);
    QJsonArray delays;
    QObject::connect(&watch, &ServerChangeWatch::changed, [&](const ServerChange &change) {
        if (change.committedAt.isValid())
            delays.append(double(change.committedAt.msecsTo(QDateTime::currentDateTimeUtc())));
    });
    QTimer::singleShot(seconds * 1000 + 2000, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(QJsonDocument(QJsonObject{{QStringLiteral("delays"), delays}}).toJson());
    return 0;
}

// The errors the check finds in the period, each told on the standard error once found.
int checkErrors(const Database &db, const SettingsRecord &record, const QDate &from,
                const QDate &to, bool tell)
{
    const TimetableCheck check = checkTimetable(db, record, from, to);
    for (const TimetableProblem &p : check.problems) {
        if (tell)
            std::fprintf(stderr, "  %s, урок %d: %s (%s)\n",
                         p.date.toString(QStringLiteral("dd.MM.yyyy")).toUtf8().constData(),
                         p.lesson, p.explanation.toUtf8().constData(),
                         p.objects.toUtf8().constData());
    }
    return check.errors;
}

int runSoak(int planners, int seconds, int copies, int pause)
{
    LargeSample &sample = largeSample();
    const QString uri = PgCluster::instance().newDatabase();
    initServerDocument(uri, sample.path);
    const QDate monday = sample.busiestDay.addDays(1 - sample.busiestDay.dayOfWeek());
    const Database db = Database::open(uri);
    const int clashesBefore = checkErrors(db, sample.record, monday, monday.addDays(13), false);

    QTemporaryDir results;
    std::vector<std::unique_ptr<QProcess>> processes;
    const QString self = QCoreApplication::applicationFilePath();
    const auto start = [&](const QStringList &args) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(self, args);
        processes.push_back(std::move(p));
    };
    start({QStringLiteral("--watch"), uri, QString::number(seconds),
           results.filePath(QStringLiteral("watch.json"))});
    for (int i = 0; i < planners; ++i)
        start({QStringLiteral("--planner"), QString::number(i), QString::number(planners), uri,
               monday.toString(Qt::ISODate), QString::number(seconds), QString::number(copies),
               QString::number(pause), results.filePath(QStringLiteral("planner%1.json").arg(i))});
    for (auto &p : processes)
        p->waitForFinished(-1);

    QJsonObject totals;
    std::vector<double> placeMs;
    int missing = 0;
    double elapsed = 0;
    for (int i = 0; i < planners; ++i) {
        QFile file(results.filePath(QStringLiteral("planner%1.json").arg(i)));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "planner %d left no result\n", i);
            totals[QStringLiteral("unhandled")] =
                totals.value(QStringLiteral("unhandled")).toInt() + 1;
            continue;
        }
        const QJsonObject r = QJsonDocument::fromJson(file.readAll()).object();
        const QJsonObject counts = r.value(QStringLiteral("counts")).toObject();
        for (auto it = counts.begin(); it != counts.end(); ++it)
            totals[it.key()] = totals.value(it.key()).toInt() + it.value().toInt();
        for (const QJsonValue &v : r.value(QStringLiteral("placeMs")).toArray())
            placeMs.push_back(v.toDouble());
        elapsed = std::max(elapsed, r.value(QStringLiteral("seconds")).toDouble());
        for (const QJsonValue &v : r.value(QStringLiteral("live")).toArray()) {
            const QJsonArray c = v.toArray();
            const Recordset rs = db.openRecordset(
                QStringLiteral("SELECT Count(*) FROM tblTimeTableContent INNER JOIN "
                               "tblTimeTableList ON tblTimeTableList.Key = "
                               "tblTimeTableContent.Key_TTList WHERE Key_Group = %1 AND "
                               "tblTimeTableList.Date = #%2# AND Lesson = %3")
                    .arg(c[0].toInt())
                    .arg(QDate::fromString(c[1].toString(), Qt::ISODate)
                             .toString(QStringLiteral("MM/dd/yyyy")))
                    .arg(c[2].toInt()));
            if (rs.value(0).toLongLong() == 0)
                ++missing;
        }
    }
    std::vector<double> delays;
    {
        QFile file(results.filePath(QStringLiteral("watch.json")));
        if (file.open(QIODevice::ReadOnly)) {
            for (const QJsonValue &v : QJsonDocument::fromJson(file.readAll())
                                           .object()
                                           .value(QStringLiteral("delays"))
                                           .toArray())
                delays.push_back(v.toDouble());
        }
    }
    const int clashesAfter = checkErrors(db, sample.record, monday, monday.addDays(13), true);

    int operations = 0;
    for (auto it = totals.begin(); it != totals.end(); ++it) {
        if (it.key() != QLatin1String("refused") && it.key() != QLatin1String("waited too long"))
            operations += it.value().toInt();
    }
    std::printf("planners                   %d, %.0f s, %d %% of actions copies of a day, "
                "pause %d ms\n",
                planners, elapsed, copies, pause);
    for (auto it = totals.begin(); it != totals.end(); ++it)
        std::printf("  %-24s %d\n", it.key().toUtf8().constData(), it.value().toInt());
    std::printf("writes per second          %.1f\n", elapsed > 0 ? operations / elapsed : 0.0);
    std::printf("placement p50 / p95 / max  %.1f / %.1f / %.1f ms (%zu placements tried)\n",
                percentile(placeMs, 0.5), percentile(placeMs, 0.95), percentile(placeMs, 1.0),
                placeMs.size());
    std::printf("announcement p50 / p95 / max  %.0f / %.0f / %.0f ms (%zu changes)\n",
                percentile(delays, 0.5), percentile(delays, 0.95), percentile(delays, 1.0),
                delays.size());
    std::printf("clashes found by the check %d (before: %d)\n", clashesAfter - clashesBefore,
                clashesBefore);
    std::printf("acknowledged lessons missing %d\n", missing);
    std::printf("unhandled errors           %d\n",
                totals.value(QStringLiteral("unhandled")).toInt()
                    + totals.value(QStringLiteral("server error")).toInt());
    return clashesAfter > clashesBefore || missing > 0
                   || totals.value(QStringLiteral("unhandled")).toInt() > 0
               ? 1
               : 0;
}

} // namespace
} // namespace korvesta

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 10 && args[1] == QLatin1String("--planner"))
        return korvesta::runPlanner(args[2].toInt(), args[3].toInt(), args[4],
                                    QDate::fromString(args[5], Qt::ISODate), args[6].toInt(),
                                    args[7].toInt(), args[8].toInt(), args[9]);
    if (args.size() >= 5 && args[1] == QLatin1String("--watch"))
        return korvesta::runWatcher(args[2], args[3].toInt(), args[4]);
    int planners = 8;
    int seconds = 60;
    int copies = 7;
    int pause = 0;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--planners"))
            planners = std::clamp(args[i + 1].toInt(), 1, 64);
        else if (args[i] == QLatin1String("--seconds"))
            seconds = std::clamp(args[i + 1].toInt(), 1, 3600);
        else if (args[i] == QLatin1String("--copies"))
            copies = std::clamp(args[i + 1].toInt(), 0, 25);
        else if (args[i] == QLatin1String("--pause"))
            pause = std::clamp(args[i + 1].toInt(), 0, 10000);
    }
    return korvesta::runSoak(planners, seconds, copies, pause);
}
