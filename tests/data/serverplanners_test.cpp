// Several planners on one server document: a command waits for another one's dates and says
// so in Russian when the wait is too long, the server itself refuses lessons on a protected
// date and a protection lifted without the document's password, a committed change is
// announced to the others (not to its own planner), and a user who may only read is told so
// in Russian. Another planner's change made at the exact moment of a write (while the command
// waits for what the other holds) is met by the write's own checks.

#include "cli/subcommands.h"
#include "data/database.h"
#include "data/dberror.h"
#include "data/history.h"
#include "data/pgconnection.h"
#include "data/planners.h"
#include "data/serverchanges.h"
#include "data/serverconnection.h"
#include "data/serverdocument.h"
#include "editing/lessonclashes.h"
#include "editing/linehours.h"
#include "editing/referencedeletion.h"
#include "sample/demodocument.h"
#include "support/pgcluster.h"
#include "support/scriptedprompts.h"
#include "support/subcommandrun.h"
#include "support/testdocument.h"

#include <QThread>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

// Another planner's change, made in a transaction of his own that holds what his program
// would hold for it, and committed from a thread the moment another connection is seen
// waiting for one of the program's locks: the waiting command meets the change right at its
// write, after whatever it read before.
class RivalChange
{
public:
    RivalChange(const QString &uri, const std::vector<QByteArray> &statements)
        : m_rival(uri)
        , m_watch(uri)
    {
        m_rival.exec("BEGIN");
        for (const QByteArray &statement : statements)
            m_rival.exec(statement);
        m_thread = std::thread([this] {
            try {
                for (int i = 0; i < 1000 && !m_seenWaiting; ++i) {
                    m_seenWaiting = m_watch
                                        .query("SELECT count(*) FROM pg_locks WHERE locktype = "
                                               "'advisory' AND NOT granted")
                                        .rows.at(0)
                                        .at(0)
                                        .toLongLong()
                                    > 0;
                    if (!m_seenWaiting)
                        QThread::msleep(5);
                }
                m_rival.exec("COMMIT");
            } catch (const DbError &e) {
                m_failure = e.message();
            }
        });
    }
    ~RivalChange() { finish(); }
    // Committed, and whether a command had been waiting for it.
    bool metAWaitingCommand()
    {
        finish();
        EXPECT_TRUE(m_failure.isEmpty()) << m_failure.toStdString();
        return m_seenWaiting;
    }
    // The advisory locks his program takes: a date whole, the load shared or whole.
    static QByteArray date(const QDate &day)
    {
        return QByteArray("SELECT pg_advisory_xact_lock_shared(%1, 0), pg_advisory_xact_lock(%2, "
                          "%3)")
            .replace("%1", QByteArray::number(ServerConnection::kLoadLock))
            .replace("%2", QByteArray::number(ServerConnection::kDateLocks))
            .replace("%3", QByteArray::number(day.toJulianDay()));
    }
    static QByteArray load()
    {
        return "SELECT pg_advisory_xact_lock(" + QByteArray::number(ServerConnection::kLoadLock)
               + ", 0)";
    }

private:
    void finish()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    PgConnection m_rival, m_watch;
    std::atomic<bool> m_seenWaiting = false;
    QString m_failure;
    std::thread m_thread;
};

class ServerPlanners : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // A wait for another planner's dates ends soon in the tests.
        qputenv("PGOPTIONS", "-c lock_timeout=300");
        folder = new TestFolder;
        const QString file = folder->file(QStringLiteral("пример.kvt"));
        writeDemoDocument(file, DemoRequest::midTerm(DemoSize::Small, QDate(2026, 10, 14)));
        uri = PgCluster::instance().newDatabase();
        initServerDocument(uri, file);
        const auto first = [&](const char *kind) {
            return runSubcommand({QStringLiteral("names"), uri, QStringLiteral("--kind"),
                                  QString::fromLatin1(kind)})
                .out.section(u'\n', 0, 0);
        };
        group = first("groups");
        auditorium = first("auditoriums");
        tutor = first("tutors");
    }
    static void TearDownTestSuite()
    {
        Database::forgetAll();
        qunsetenv("PGOPTIONS");
        delete folder;
    }
    // The first discipline of the group's load, by the placement's own list.
    static SubcommandOutcome place(const QString &date, int lesson)
    {
        return runSubcommand({QStringLiteral("place"), uri, QStringLiteral("--date"), date,
                              QStringLiteral("--lesson"), QString::number(lesson),
                              QStringLiteral("--group"), group, QStringLiteral("--discipline"),
                              discipline(), QStringLiteral("--aud"), auditorium,
                              QStringLiteral("--yes")});
    }
    // A lesson placed and its cell cleared again: the last step undoes the clearing.
    static bool placeAndClear(const QString &date, int lesson)
    {
        return place(date, lesson).code == 0
               && runSubcommand({QStringLiteral("clear"), uri, QStringLiteral("--date"), date,
                                 QStringLiteral("--lesson"), QString::number(lesson),
                                 QStringLiteral("--group"), group, QStringLiteral("--yes")})
                          .code
                      == 0;
    }
    static qint64 number(const QByteArray &sql)
    {
        return PgConnection(uri).query(sql).rows.at(0).at(0).toLongLong();
    }
    static void expectCheckClean()
    {
        const SubcommandOutcome check = runSubcommand({QStringLiteral("check"), uri});
        EXPECT_EQ(check.code, 0) << check.out.toStdString();
    }
    static QString discipline()
    {
        PgConnection server(uri);
        return server
            .query("SELECT d.\"Discipline\" FROM \"tblJobList\" AS l JOIN \"tblJob\" AS j ON "
                   "j.\"Key\" = l.\"Key_Job\" JOIN \"tblDisciplines\" AS d ON d.\"Key\" = "
                   "j.\"Key_Discipline\" JOIN \"tblGroups\" AS g ON g.\"Key\" = l.\"Key_Group\" "
                   "WHERE g.\"Group\" || ' (' || g.\"Course\" || ')' = $1 ORDER BY l.\"Key\" "
                   "LIMIT 1",
                   {group})
            .rows.at(0)
            .at(0)
            .toString();
    }

    static inline TestFolder *folder = nullptr;
    static inline QString uri, group, auditorium, tutor;
};

TEST_F(ServerPlanners, ACommandWaitsForAnotherOnesDatesAndSaysWhenItCannot)
{
    const QDate day(2026, 10, 29);
    PgConnection other(uri);
    other.exec("BEGIN");
    other.query("SELECT pg_advisory_xact_lock($1, $2)",
                {ServerConnection::kDateLocks, int(day.toJulianDay())});
    const SubcommandOutcome waited = place(QStringLiteral("29.10.2026"), 6);
    EXPECT_NE(waited.code, 0);
    EXPECT_TRUE(waited.err.contains(QStringLiteral(
        "Другой плановик изменяет расписание на эти даты; повторите через несколько секунд")))
        << waited.err.toStdString();
    other.exec("COMMIT");
    const SubcommandOutcome placed = place(QStringLiteral("29.10.2026"), 6);
    EXPECT_EQ(placed.code, 0) << placed.err.toStdString();
}

// A planner cut off in the middle of a change (his program killed, his network gone) leaves
// nothing of it, and his dates are free for the others at once; his program is told in Russian.
TEST_F(ServerPlanners, APlannerCutOffMidChangeLeavesNothingAndHoldsNoDate)
{
    const QDate day(2026, 10, 13);
    const QByteArray lessonsThatDay = "SELECT count(*) FROM \"tblTimeTableContent\" WHERE "
                                      "\"Key_TTList\" = (SELECT \"Key\" FROM "
                                      "\"tblTimeTableList\" WHERE \"Date\" = '2026-10-13')";
    PgConnection watcher(uri);
    const qint64 before = watcher.query(lessonsThatDay).rows.at(0).at(0).toLongLong();
    ASSERT_GT(before, 0);
    PgConnection cut(uri);
    cut.exec("BEGIN");
    cut.query("SELECT pg_advisory_xact_lock($1, $2)",
              {ServerConnection::kDateLocks, int(day.toJulianDay())});
    cut.exec("DELETE FROM \"tblTimeTableContent\" WHERE \"Key_TTList\" = (SELECT \"Key\" FROM "
             "\"tblTimeTableList\" WHERE \"Date\" = '2026-10-13')");
    watcher.query("SELECT pg_terminate_backend($1)", {cut.serverProcess()});
    try {
        cut.exec("COMMIT");
        ADD_FAILURE() << "a cut-off planner's change was committed";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Связь с сервером потеряна")))
            << e.message().toStdString();
    }
    EXPECT_EQ(watcher.query(lessonsThatDay).rows.at(0).at(0).toLongLong(), before);
    const SubcommandOutcome placed = place(QStringLiteral("13.10.2026"), 8);
    EXPECT_EQ(placed.code, 0) << placed.err.toStdString();
    expectCheckClean();
}

// The cell another planner fills, and the load line another planner changes, while a
// placement waits to write: it writes nothing and says why.
TEST_F(ServerPlanners, APlacementMeetsTheCellOrLineAnotherPlannerChangedAsItWaited)
{
    const QByteArray cell = "(SELECT count(*) FROM \"tblTimeTableContent\" AS c JOIN "
                            "\"tblTimeTableList\" AS d ON d.\"Key\" = c.\"Key_TTList\" JOIN "
                            "\"tblGroups\" AS g ON g.\"Key\" = c.\"Key_Group\" WHERE d.\"Date\" "
                            "= '2026-10-06' AND c.\"Lesson\" = 8 AND g.\"Group\" || ' (' || "
                            "g.\"Course\" || ')' = '"
                            + group.toUtf8() + "')";
    ASSERT_EQ(number("SELECT " + cell), 0);
    // The group's own line, as his placement would write it.
    const QByteArray line = "FROM \"tblJobList\" AS l JOIN \"tblGroups\" AS g ON g.\"Key\" = "
                            "l.\"Key_Group\" WHERE g.\"Group\" || ' (' || g.\"Course\" || ')' "
                            "= '"
                            + group.toUtf8() + "' ORDER BY l.\"Key\" LIMIT 1";
    {
        RivalChange rival(uri, {RivalChange::date(QDate(2026, 10, 6)),
                                "INSERT INTO \"tblTimeTableContent\" (\"Key_TTList\", \"Lesson\", "
                                "\"Key_Job\", \"Key_Group\", \"SubGroup\", \"Key_TypeLesson\") "
                                "SELECT (SELECT \"Key\" FROM \"tblTimeTableList\" WHERE \"Date\" "
                                "= '2026-10-06'), 8, l.\"Key_Job\", l.\"Key_Group\", 0, 1 "
                                    + line});
        const SubcommandOutcome placed = place(QStringLiteral("06.10.2026"), 8);
        EXPECT_TRUE(rival.metAWaitingCommand());
        EXPECT_NE(placed.code, 0);
        EXPECT_TRUE(placed.err.contains(
            QStringLiteral("Редактирование данной ячейки уже произведено другим пользователем.")))
            << placed.err.toStdString();
        EXPECT_EQ(number("SELECT " + cell), 1); // his lesson, alone
    }
    const QByteArray groupKey = "(SELECT \"Key\" FROM \"tblGroups\" WHERE \"Group\" || ' (' || "
                                "\"Course\" || ')' = '"
                                + group.toUtf8() + "')";
    const struct
    {
        QByteArray change;
        const char *told;
    } lines[] = {
        // No hour left on the group's lines, as his load dialog leaves them.
        {"UPDATE \"tblJobList\" SET \"Hours\" = 0 WHERE \"Key_Group\" = " + groupKey,
         "Все часы по дисциплине отработаны"},
        // The line given to another tutor's job.
        {"UPDATE \"tblJobList\" SET \"Hours\" = 500, \"Key_Job\" = (SELECT min(\"Key\") FROM "
         "\"tblJob\" WHERE \"Key\" <> \"tblJobList\".\"Key_Job\") WHERE \"Key\" = (SELECT "
         "l.\"Key\" "
             + line + ")",
         "изменил другой пользователь"},
    };
    const QString subject = discipline(); // as the dialog named it
    for (const auto &l : lines) {
        SCOPED_TRACE(l.told);
        RivalChange rival(uri, {RivalChange::load(), l.change});
        const SubcommandOutcome placed = runSubcommand(
            {QStringLiteral("place"), uri, QStringLiteral("--date"), QStringLiteral("07.10.2026"),
             QStringLiteral("--lesson"), QStringLiteral("8"), QStringLiteral("--group"), group,
             QStringLiteral("--discipline"), subject, QStringLiteral("--aud"), auditorium,
             QStringLiteral("--yes"), QStringLiteral("--set"), QStringLiteral("JobOverFlow=True")});
        EXPECT_TRUE(rival.metAWaitingCommand());
        EXPECT_NE(placed.code, 0) << placed.out.toStdString();
        EXPECT_TRUE(placed.err.contains(QString::fromUtf8(l.told))) << placed.err.toStdString();
        PgConnection(uri).exec("UPDATE \"tblJobList\" SET \"Hours\" = 500 WHERE \"Key_Group\" = "
                               + groupKey);
    }
    expectCheckClean();
}

// Two planners delete the same group: the second is told it is gone. A group that gets a
// lesson while its deletion is asked about stays.
TEST_F(ServerPlanners, ADeletionMeetsTheRecordAnotherPlannerChangedAsItWaited)
{
    PgConnection owner(uri);
    const auto newGroup = [&](const char *name) {
        return owner
            .query("INSERT INTO \"tblGroups\" (\"Group\", \"Course\") VALUES ($1, '1') "
                   "RETURNING \"Key\"",
                   {QString::fromUtf8(name)})
            .rows.at(0)
            .at(0)
            .toLongLong();
    };
    const Database db = Database::open(uri);
    const auto deletion = [&](const char *name) {
        ScriptedPrompts prompts;
        prompts.answers = {Prompts::Answer::Yes};
        const DeleteOutcome outcome =
            deleteGroup(db, prompts, QString::fromUtf8(name), QStringLiteral("1"), QString());
        return std::pair(outcome, prompts.texts(ScriptedPrompts::Kind::Message));
    };

    const qint64 gone = newGroup("Т-1");
    {
        RivalChange rival(uri, {RivalChange::load(),
                                "DELETE FROM \"tblGroups\" WHERE \"Key\" = "
                                    + QByteArray::number(gone)});
        const auto [outcome, told] = deletion("Т-1");
        EXPECT_TRUE(rival.metAWaitingCommand());
        EXPECT_EQ(outcome, DeleteOutcome::Nothing);
        EXPECT_EQ(told, QStringList(QStringLiteral(
                            "Запись не найдена: возможно, она уже удалена.\r\nОбновите список (F5)")));
    }

    const qint64 used = newGroup("Т-2");
    owner.exec("INSERT INTO \"tblJobList\" (\"Key_Job\", \"Key_Group\", \"Hours\") SELECT "
               "min(\"Key\"), " + QByteArray::number(used) + ", 10 FROM \"tblJob\"");
    {
        RivalChange rival(
            uri, {"SELECT pg_advisory_xact_lock_shared("
                      + QByteArray::number(ServerConnection::kLoadLock) + ", 0)",
                  "INSERT INTO \"tblTimeTableList\" (\"Date\") VALUES ('2026-11-02')",
                  "INSERT INTO \"tblTimeTableContent\" (\"Key_TTList\", \"Lesson\", \"Key_Job\", "
                  "\"Key_Group\", \"SubGroup\", \"Key_TypeLesson\") SELECT (SELECT \"Key\" FROM "
                  "\"tblTimeTableList\" WHERE \"Date\" = '2026-11-02'), 1, \"Key_Job\", "
                  "\"Key_Group\", 0, 1 FROM \"tblJobList\" WHERE \"Key_Group\" = "
                      + QByteArray::number(used)});
        const auto [outcome, told] = deletion("Т-2");
        EXPECT_TRUE(rival.metAWaitingCommand());
        EXPECT_EQ(outcome, DeleteOutcome::Nothing);
        ASSERT_EQ(told.size(), 1);
        EXPECT_TRUE(told.front().startsWith(QStringLiteral("Пока шёл вопрос")))
            << told.front().toStdString();
    }
    EXPECT_EQ(number("SELECT count(*) FROM \"tblGroups\" WHERE \"Key\" = "
                     + QByteArray::number(used)),
              1);
    expectCheckClean();
}

// A copy whose destination another planner changes while it waits writes nothing: the user
// agreed to replace what was there, not what is there now.
TEST_F(ServerPlanners, ACopyMeetsADestinationAnotherPlannerChangedAsItWaited)
{
    const QByteArray destination = "(SELECT \"Key\" FROM \"tblTimeTableList\" WHERE \"Date\" = "
                                   "'2026-10-09')";
    const qint64 before = number("SELECT count(*) FROM \"tblTimeTableContent\" WHERE "
                                 "\"Key_TTList\" = "
                                 + destination);
    ASSERT_GT(before, 0);
    RivalChange rival(uri, {RivalChange::date(QDate(2026, 10, 9)),
                            "DELETE FROM \"tblTimeTableContent\" WHERE \"Key_TTList\" = "
                                + destination + " AND \"Lesson\" = 1"});
    const SubcommandOutcome copied = runSubcommand(
        {QStringLiteral("copy"), uri, QStringLiteral("--day"), QStringLiteral("08.10.2026"),
         QStringLiteral("--onto"), QStringLiteral("09.10.2026"), QStringLiteral("--yes")});
    EXPECT_TRUE(rival.metAWaitingCommand());
    EXPECT_NE(copied.code, 0);
    EXPECT_TRUE(copied.err.contains(QStringLiteral(
        "Пока шёл вопрос, другой плановик изменил расписание на датах назначения.")))
        << copied.err.toStdString();
    const qint64 after = number("SELECT count(*) FROM \"tblTimeTableContent\" WHERE "
                                "\"Key_TTList\" = "
                                + destination);
    EXPECT_LT(after, before); // his deletion, and nothing of the copy
    EXPECT_EQ(number("SELECT count(*) FROM \"tblTimeTableContent\" WHERE \"Key_TTList\" = "
                     + destination + " AND \"Lesson\" = 1"),
              0);
}

// Two planners cover the same absent tutor's lesson: the one who waited is told his list is
// out of date, and the lesson stays with the other's choice.
TEST_F(ServerPlanners, ACoverMeetsTheLessonAnotherPlannerCoveredAsItWaited)
{
    PgConnection reader(uri);
    const PgRows first = reader.query(
        "SELECT t.\"Tutor\", c.\"Key\", c.\"Lesson\", c.\"Key_Group\" FROM "
        "\"tblTimeTableContent\" AS c JOIN \"tblTimeTableList\" AS d ON d.\"Key\" = "
        "c.\"Key_TTList\" JOIN \"tblJob\" AS j ON j.\"Key\" = c.\"Key_Job\" JOIN \"tblTutors\" "
        "AS t ON t.\"Key\" = j.\"Key_Tutor\" WHERE d.\"Date\" = '2026-10-05' ORDER BY t.\"Key\", "
        "c.\"Lesson\", c.\"Key\" LIMIT 1");
    ASSERT_EQ(first.rows.size(), 1u);
    const QString absent = first.rows[0][0].toString();
    const QByteArray lessonKey = first.rows[0][1].toByteArray();
    const SubcommandOutcome list =
        runSubcommand({QStringLiteral("cover"), uri, QStringLiteral("--tutor"), absent,
                       QStringLiteral("--date"), QStringLiteral("05.10.2026"),
                       QStringLiteral("--format"), QStringLiteral("tsv")});
    ASSERT_EQ(list.code, 0) << list.err.toStdString();
    const QStringList row = list.out.section(u'\n', 1, 1).split(u'\t');
    ASSERT_EQ(row.size(), 5) << list.out.toStdString();
    ASSERT_EQ(row[1], first.rows[0][2].toString());
    const QString covering = row[4].section(QStringLiteral(" ("), 0, 0);
    ASSERT_FALSE(covering.isEmpty()) << list.out.toStdString();

    RivalChange rival(
        uri, {RivalChange::date(QDate(2026, 10, 5)),
              "UPDATE \"tblTimeTableContent\" SET \"Key_Job\" = (SELECT j.\"Key\" FROM "
              "\"tblJob\" AS j JOIN \"tblTutors\" AS t ON t.\"Key\" = j.\"Key_Tutor\" WHERE "
              "t.\"Tutor\" = '"
                  + covering.toUtf8() + "' ORDER BY j.\"Key\" LIMIT 1) WHERE \"Key\" = " + lessonKey});
    const SubcommandOutcome assigned = runSubcommand(
        {QStringLiteral("cover"), uri, QStringLiteral("--tutor"), absent, QStringLiteral("--date"),
         QStringLiteral("05.10.2026"), QStringLiteral("--assign"), QStringLiteral("--yes")});
    EXPECT_TRUE(rival.metAWaitingCommand());
    EXPECT_NE(assigned.code, 0);
    EXPECT_TRUE(assigned.err.contains(QStringLiteral("список замен устарел")))
        << assigned.err.toStdString();
    EXPECT_EQ(reader
                  .query("SELECT t.\"Tutor\" FROM \"tblTimeTableContent\" AS c JOIN \"tblJob\" "
                         "AS j ON j.\"Key\" = c.\"Key_Job\" JOIN \"tblTutors\" AS t ON t.\"Key\" "
                         "= j.\"Key_Tutor\" WHERE c.\"Key\" = "
                         + lessonKey)
                  .rows.at(0)
                  .at(0)
                  .toString(),
              covering);
    expectCheckClean();
}

TEST_F(ServerPlanners, TheServerRefusesALessonOnAProtectedDate)
{
    PgConnection other(uri);
    other.exec("UPDATE \"tblTimeTableList\" SET \"ReadOnly\" = 1 WHERE \"Date\" = "
               "'2026-10-12'");
    try {
        other.exec("UPDATE \"tblTimeTableContent\" SET \"Lesson\" = \"Lesson\" WHERE "
                   "\"Key_TTList\" = (SELECT \"Key\" FROM \"tblTimeTableList\" WHERE \"Date\" = "
                   "'2026-10-12')");
        ADD_FAILURE() << "a lesson of a protected date was changed";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Дата 12.10.2026 заблокирована для редактирования"));
    }
}

// The password that lifts a date's protection is the document's, for every planner, and the
// server itself refuses a protection lifted without it, whatever program tries.
TEST_F(ServerPlanners, TheEditPasswordIsTheDocumentsAndTheServerHoldsIt)
{
    const Database db = Database::open(uri);
    ASSERT_TRUE(db.changeEditPassword(QString(), QStringLiteral("секрет")));
    EXPECT_TRUE(db.hasEditPassword());
    PgConnection other(uri);
    other.exec("UPDATE \"tblTimeTableList\" SET \"ReadOnly\" = 1 WHERE \"Date\" = '2026-10-13'");
    try {
        other.exec("UPDATE \"tblTimeTableList\" SET \"ReadOnly\" = 0 WHERE \"Date\" = "
                   "'2026-10-13'");
        ADD_FAILURE() << "a protection was lifted without the password";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Блокировка даты 13.10.2026 снимается только с "
                                              "паролем для редактирования расписания"));
    }
    const auto unlock = [](const char *password) {
        return runSubcommand({QStringLiteral("lock"), uri, QStringLiteral("--date"),
                              QStringLiteral("13.10.2026"), QStringLiteral("--unlock"),
                              QStringLiteral("--password"), QString::fromUtf8(password)});
    };
    const SubcommandOutcome wrong = unlock("неверно");
    EXPECT_NE(wrong.code, 0);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("Неверный пароль"))) << wrong.err.toStdString();
    EXPECT_EQ(unlock("секрет").code, 0);
    EXPECT_FALSE(db.changeEditPassword(QStringLiteral("неверно"), QString()));
    EXPECT_TRUE(db.changeEditPassword(QStringLiteral("секрет"), QString()));
    EXPECT_FALSE(db.hasEditPassword());
}

TEST_F(ServerPlanners, AChangeIsAnnouncedToTheOthersAtItsCommit)
{
    const Database db = Database::open(uri);
    ServerChangeWatch watch;
    watch.watch(db);
    std::vector<ServerChange> seen;
    QObject::connect(&watch, &ServerChangeWatch::changed,
                     [&](const ServerChange &change) { seen.push_back(change); });
    watch.readNow(); // what earlier tests' changes left unread
    seen.clear();

    PgConnection other(uri);
    other.exec("BEGIN");
    other.exec("DELETE FROM \"tblTimeTableContent\" WHERE \"Key_TTList\" = (SELECT \"Key\" FROM "
               "\"tblTimeTableList\" WHERE \"Date\" = '2026-10-13') AND \"Lesson\" = 2");
    watch.readNow();
    EXPECT_TRUE(seen.empty()); // nothing is announced before the commit
    other.exec("COMMIT");
    for (int i = 0; i < 50 && seen.empty(); ++i) {
        QThread::msleep(20);
        watch.readNow();
    }
    ASSERT_EQ(seen.size(), 1u);
    const ServerChange change = seen.front();
    EXPECT_EQ(change.user, QStringLiteral("korvesta"));
    EXPECT_EQ(change.date, QDate(2026, 10, 13));
    EXPECT_EQ(change.lesson, 2);

    // The planner's own change is no news to it.
    seen.clear();
    EXPECT_EQ(place(QStringLiteral("28.10.2026"), 7).code, 0);
    watch.readNow();
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(serverChangeFrom("not json").has_value());
}

// Undo puts back a lesson only where no lesson placed since stands in its way.
TEST_F(ServerPlanners, UndoDoesNotPutALessonWhereAnotherPlannerPlacedOne)
{
    const Database db = Database::open(uri);
    History *history = History::attach(db);
    ASSERT_NE(history, nullptr);
    // The date keeps other lessons: its row stays when the cell is cleared.
    ASSERT_TRUE(placeAndClear(QStringLiteral("14.10.2026"), 8));
    // Another planner gives the auditorium, free again, to another job's lesson.
    PgConnection other(uri);
    other.exec("INSERT INTO \"tblTimeTableContent\" (\"Key_TTList\", \"Lesson\", \"Key_Job\", "
               "\"Key_Group\", \"Key_Aud\", \"SubGroup\", \"Key_TypeLesson\") SELECT d.\"Key\", 8, "
               "l.\"Key_Job\", l.\"Key_Group\", a.\"Key\", 0, 1 FROM \"tblTimeTableList\" AS d, "
               "\"tblJobList\" AS l, \"tblAuditories\" AS a WHERE d.\"Date\" = '2026-10-14' AND "
               "a.\"Auditoria\" || ' (' || a.\"Corpus\" || ')' = '"
               + auditorium.toUtf8()
               + "' AND l.\"Key_Job\" NOT IN (SELECT j.\"Key_Job\" FROM \"tblJobList\" AS j JOIN "
                 "\"tblGroups\" AS g ON g.\"Key\" = j.\"Key_Group\" WHERE g.\"Group\" || ' (' || "
                 "g.\"Course\" || ')' = '"
               + group.toUtf8() + "') ORDER BY l.\"Key\" LIMIT 1");
    try {
        history->undo(
            [&](const std::vector<QDate> &dates, const std::vector<std::pair<int, int>> &) {
                return clashesOn(db, dates);
            });
        ADD_FAILURE() << "the lesson came back over another planner's";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("14.10.2026 поставлены другие занятия")))
            << e.message().toStdString();
    }
    EXPECT_TRUE(history->canUndo()); // the step stays, for when the way is clear
    History::detachAll();
}

// Undo gives a load line back a lesson only while the line has an hour left for it: another
// planner may have used the last one since.
TEST_F(ServerPlanners, UndoDoesNotGiveALineMoreLessonsThanHours)
{
    const Database db = Database::open(uri);
    History *history = History::attach(db);
    ASSERT_NE(history, nullptr);
    ASSERT_TRUE(placeAndClear(QStringLiteral("15.10.2026"), 8));
    // The line's hours are now exactly its lessons, as if another planner had taken the hour.
    PgConnection other(uri);
    other.exec("UPDATE \"tblJobList\" AS l SET \"Hours\" = (SELECT count(*) FROM "
               "\"tblTimeTableContent\" AS c WHERE c.\"Key_Job\" = l.\"Key_Job\" AND "
               "c.\"Key_Group\" = l.\"Key_Group\")");
    const History::ClashCount clashes = [&](const std::vector<QDate> &dates,
                                            const std::vector<std::pair<int, int>> &lines) {
        return clashesOn(db, dates) + linesOverHours(db, lines);
    };
    EXPECT_THROW(history->undo(clashes), DbError);
    EXPECT_TRUE(history->canUndo());
    other.exec("UPDATE \"tblJobList\" SET \"Hours\" = \"Hours\" + 1");
    EXPECT_NO_THROW(history->undo(clashes));
    other.exec("UPDATE \"tblJobList\" SET \"Hours\" = \"Hours\" + 100"); // for the tests after
    History::detachAll();
}

// Undo refuses a lesson another planner changed since, and names it.
TEST_F(ServerPlanners, UndoNamesTheLessonAnotherPlannerChanged)
{
    const Database db = Database::open(uri);
    History *history = History::attach(db);
    ASSERT_NE(history, nullptr);
    ASSERT_EQ(place(QStringLiteral("16.10.2026"), 8).code, 0);
    PgConnection other(uri);
    other.exec("UPDATE \"tblTimeTableContent\" SET \"Key_Aud\" = NULL WHERE \"Lesson\" = 8 AND "
               "\"Key_TTList\" = (SELECT \"Key\" FROM \"tblTimeTableList\" WHERE \"Date\" = "
               "'2026-10-16')");
    try {
        history->undo();
        ADD_FAILURE() << "undid a lesson another planner changed";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(
            QStringLiteral("после него занятие группы %1 на 16.10.2026, урок 8 изменила другая "
                           "программа (таблица tblTimeTableContent)")
                .arg(group)))
            << e.message().toStdString();
    }
    History::detachAll();
}

// Each planner's program says what it shows; the others read it from the server.
TEST_F(ServerPlanners, ThePlannersAtWorkAndWhatTheyShow)
{
    const Database db = Database::open(uri);
    announceActivity(db, 41, QDate(2026, 10, 12));
    PgConnection other(uri);
    const std::vector<PlannerAtWork> planners = plannersAtWork(db);
    ASSERT_GE(planners.size(), 2u);
    const auto self = std::find_if(planners.begin(), planners.end(),
                                   [](const PlannerAtWork &p) { return p.self; });
    ASSERT_NE(self, planners.end());
    EXPECT_EQ(self->user, QStringLiteral("korvesta"));
    EXPECT_EQ(self->viewCode, 41);
    EXPECT_EQ(self->date, QDate(2026, 10, 12));
    EXPECT_TRUE(std::any_of(planners.begin(), planners.end(),
                            [](const PlannerAtWork &p) { return !p.self && p.viewCode == 0; }));
}

TEST_F(ServerPlanners, AUserWhoMayOnlyReadIsToldSoInRussian)
{
    PgConnection owner(uri);
    owner.exec("DO $$ BEGIN CREATE ROLE korvesta_reader LOGIN; EXCEPTION WHEN duplicate_object "
               "THEN NULL; END $$; GRANT SELECT ON ALL TABLES IN SCHEMA public TO "
               "korvesta_reader");
    QString reader = uri;
    reader.replace(QStringLiteral("user=korvesta"), QStringLiteral("user=korvesta_reader"));
    ASSERT_NE(reader, uri);
    EXPECT_TRUE(Database::open(reader).isReadOnly());
    const SubcommandOutcome view =
        runSubcommand({QStringLiteral("view"), reader, QStringLiteral("41"),
                       QStringLiteral("--date"), QStringLiteral("13.10.2026")});
    EXPECT_EQ(view.code, 0) << view.err.toStdString();
    const SubcommandOutcome note = runSubcommand(
        {QStringLiteral("note"), reader, QStringLiteral("--date"), QStringLiteral("21.10.2026"),
         QStringLiteral("--text"), QStringLiteral("Собрание")});
    EXPECT_NE(note.code, 0);
    EXPECT_TRUE(note.err.contains(QStringLiteral("Документ на сервере открыт только для чтения")))
        << note.err.toStdString();
}

} // namespace
} // namespace korvesta
