// Cover for an absent tutor on a hand-made day: who is offered, in which order, and the lesson
// given away: to a load line the tutor has, or to one added after a question, remembered in
// the date's note, all of it undone in one step.

#include "assist/cover.h"
#include "data/documentsession.h"
#include "data/history.h"
#include "data/institutionbuilder.h"
#include "settings/settingsstore.h"
#include "support/scriptedprompts.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace korvesta {
namespace {

using Answer = Prompts::Answer;

class CoverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const int g2 = b.add("tblGroups", {"Group", "П-2", "Course", "1"});
        const int aud = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Гл"});
        const auto line = [&](int t, int d, int g, int hours) {
            const int job = b.job(t, d);
            b.add("tblJobList", {"Key_Job", job, "Key_Group", g, "Hours", hours});
            return job;
        };
        ivanovMath = line(ivanov, math, g1, 40);
        orlovMath = line(orlov, math, g1, 10);             // the discipline in the group
        line(petrov, math, g2, 10);                        // the discipline elsewhere
        const int sidorovMath = line(sidorov, math, g1, 10); // busy at that lesson
        line(kuznetsov, phys, g1, 10);                     // the group, another discipline
        line(gone, math, g1, 10);                          // away that day
        b.add("tblTutorOut", {"KeyTutor", gone, "FreeLocalDate", monday, "KeyTypeOut", 1});
        lesson = b.lesson(monday, 2, ivanovMath, g1, aud);
        b.lesson(monday, 2, sidorovMath, g2, aud);
        b.lesson(monday, 4, orlovMath, g1, aud); // a lecture to both groups: one lesson
        b.lesson(monday, 4, orlovMath, g2, aud);

        session.startFromCommandLine({path});
        History::attach(*session.access());
    }
    void TearDown() override
    {
        History::detachAll();
        Database::forgetAll();
    }

    qint64 number(const QString &sql) const { return b.rawNumber(sql); }
    qint64 lessonJob() const
    {
        return number(
            QString("SELECT Key_Job FROM tblTimeTableContent WHERE Key = %1").arg(lesson));
    }
    QString note() const { return b.raw("SELECT Note FROM tblNotes").value(0); }
    // Rows of the tables a cover may write, to see that nothing else changed.
    QString counts() const
    {
        return b.raw("SELECT (SELECT count(*) FROM tblJob) || '/' || "
                     "(SELECT count(*) FROM tblJobList) || '/' || (SELECT count(*) FROM tblNotes)")
            .value(0);
    }
    UncoveredLesson listed() const
    {
        const CoverList list = coverList(b.db(), "Иванов", monday);
        EXPECT_EQ(list.lessons.size(), 1u) << list.refusal.toStdString();
        return list.lessons.empty() ? UncoveredLesson() : list.lessons[0];
    }
    CoverCandidate candidate(const UncoveredLesson &l, const QString &tutor) const
    {
        for (const CoverCandidate &c : l.candidates)
            if (c.tutor == tutor)
                return c;
        ADD_FAILURE() << "no candidate " << tutor.toStdString();
        return {};
    }
    void undo() { History::of(*session.access())->undo(); }

    TestFolder folder;
    QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    const QDate monday{2026, 9, 14};
    // The same name and course in another faculty: a load line must not go to the twin.
    const int twin = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    const int evening = b.add("tblTypeFaculty", {"TypeFaculty", "Вечерний"});
    const int g1 = b.add("tblGroups", {"Group", "П-1", "Course", "1", "Key_TypeFaculty", evening});
    const int math = b.add("tblDisciplines", {"Discipline", "Матем"});
    const int phys = b.add("tblDisciplines", {"Discipline", "Физ"});
    const int ivanov = b.add("tblTutors", {"Tutor", "Иванов"});
    const int orlov = b.add("tblTutors", {"Tutor", "Орлов"});
    const int petrov = b.add("tblTutors", {"Tutor", "Петров"});
    const int sidorov = b.add("tblTutors", {"Tutor", "Сидоров"});
    const int kuznetsov = b.add("tblTutors", {"Tutor", "Кузнецов"});
    const int gone = b.add("tblTutors", {"Tutor", "Ушёл"});
    int ivanovMath = 0, orlovMath = 0, lesson = 0;
    SettingsStore store{folder.file("user.ini")};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, store, {folder.path(), folder.path()}};
};

TEST_F(CoverTest, CandidatesRankedAndRefusals)
{
    const UncoveredLesson l = listed();
    QStringList order;
    for (const CoverCandidate &c : l.candidates)
        order << c.tutor;
    EXPECT_EQ(order, QStringList({"Орлов", "Петров", "Кузнецов"}));
    EXPECT_EQ(l.candidates[0].lessonsThatDay, 1);
    EXPECT_EQ(l.candidates[0].hoursLeft, 9);
    EXPECT_EQ(l.group, "П-1 (1)");
    EXPECT_EQ(l.groupText, "П-1  (1) Вечерний");
    EXPECT_EQ(l.absentTutor, "Иванов");
    EXPECT_EQ(coverList(b.db(), "Петров", monday).refusal,
              "У преподавателя Петров нет занятий 14.09.2026");
    EXPECT_EQ(coverList(b.db(), "Никто", monday).refusal, "Преподаватель «Никто» не найден");
}

TEST_F(CoverTest, LessonGivenToTheLineAndRememberedInTheNote)
{
    b.add("tblNotes", {"Key_TTL", b.day(monday), "Note", "Собрание в 14:00\n"});
    History::of(*session.access())->clear();
    const UncoveredLesson l = listed();
    ASSERT_TRUE(assignCover(session, prompts, l, candidate(l, "Орлов")));
    EXPECT_TRUE(prompts.shown.empty()); // the line exists: nothing to ask
    EXPECT_EQ(lessonJob(), orlovMath);
    EXPECT_EQ(note(), "Собрание в 14:00\nЗамена: 2 урок, П-1 (1), Матем: Иванов → Орлов");
    EXPECT_EQ(History::of(*session.access())->undoCaptions(),
              QStringList{"замена: П-1 (1), урок 2, Орлов"});

    // The list shown before is out of date now: the lesson is no longer Иванов's, and the
    // load line added on the way goes with the refusal.
    const QString given = counts();
    prompts.answers = {Answer::Yes};
    EXPECT_FALSE(assignCover(session, prompts, l, candidate(l, "Петров")));
    EXPECT_EQ(lessonJob(), orlovMath);
    EXPECT_EQ(counts(), given);
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message),
              QStringList{"Занятие 2 урока группы П-1 (1) уже не у преподавателя Иванов: "
                          "список замен устарел"});
    prompts.shown.clear();

    undo();
    EXPECT_EQ(lessonJob(), ivanovMath);
    EXPECT_EQ(note(), "Собрание в 14:00\n");

    // A protected date gives nothing away.
    b.db().execute("UPDATE tblTimeTableList SET ReadOnly = True");
    EXPECT_FALSE(assignCover(session, prompts, l, candidate(l, "Орлов")));
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message),
              QStringList{"Дата заблокирована для редактирования"});
    EXPECT_EQ(lessonJob(), ivanovMath);
}

TEST_F(CoverTest, NewLoadLineOnlyAfterTheQuestion)
{
    struct Case
    {
        const char *name;
        QString tutor;
        Answer answer;
        QString question;
    };
    const Case cases[] = {
        {"discipline elsewhere, yes", "Петров", Answer::Yes,
         "У преподавателя Петров нет нагрузки по дисциплине «Матем» в группе П-1 (1).\r\n"
         "Добавить строку нагрузки на 1 ч и передать это занятие?"},
        {"group only, yes", "Кузнецов", Answer::Yes,
         "У преподавателя Кузнецов нет нагрузки по дисциплине «Матем» в группе П-1 (1).\r\n"
         "Добавить строку нагрузки на 1 ч и передать это занятие?"},
        {"discipline elsewhere, no", "Петров", Answer::No, {}},
        {"group only, no", "Кузнецов", Answer::No, {}},
    };
    const QString before = counts();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        prompts.shown.clear();
        prompts.answers = {c.answer};
        const UncoveredLesson l = listed();
        const bool given = assignCover(session, prompts, l, candidate(l, c.tutor));
        EXPECT_TRUE(prompts.exhausted());
        if (!c.question.isEmpty()) {
            EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::YesNo), QStringList{c.question});
        }
        if (c.answer == Answer::No) {
            EXPECT_FALSE(given);
            EXPECT_EQ(counts(), before);
            EXPECT_EQ(lessonJob(), ivanovMath);
            continue;
        }
        ASSERT_TRUE(given);
        const qint64 keyTutor = c.tutor == "Петров" ? petrov : kuznetsov;
        const qint64 job = number(QString("SELECT Key FROM tblJob WHERE Key_Tutor = %1 AND "
                                          "Key_Discipline = %2")
                                      .arg(keyTutor)
                                      .arg(math));
        EXPECT_EQ(lessonJob(), job);
        EXPECT_EQ(number(QString("SELECT Hours FROM tblJobList WHERE Key_Job = %1 AND "
                                 "Key_Group = %2")
                             .arg(job)
                             .arg(g1)),
                  1);
        EXPECT_EQ(note(), "Замена: 2 урок, П-1 (1), Матем: Иванов → " + c.tutor);
        EXPECT_EQ(History::of(*session.access())->undoCaptions().size(), 1);
        undo();
        EXPECT_EQ(counts(), before);
        EXPECT_EQ(lessonJob(), ivanovMath);
        History::of(*session.access())->clear();
    }
}

// A line with every hour given grows by the lesson only when the planner agrees.
TEST_F(CoverTest, ASpentLineGrowsOnlyAfterTheQuestion)
{
    const QString hours =
        QString("SELECT Hours FROM tblJobList WHERE Key_Job = %1 AND Key_Group = %2")
            .arg(orlovMath)
            .arg(g1);
    b.db().execute(QString("UPDATE tblJobList SET Hours = 1 WHERE Key_Job = %1 AND "
                           "Key_Group = %2")
                       .arg(orlovMath)
                       .arg(g1)); // the lecture at lesson 4 took it
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        prompts.shown.clear();
        prompts.answers = {answer};
        const UncoveredLesson l = listed();
        const bool given = assignCover(session, prompts, l, candidate(l, "Орлов"));
        EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::YesNo),
                  QStringList{"У преподавателя Орлов не осталось часов нагрузки по дисциплине "
                              "«Матем» в группе П-1 (1).\r\nДобавить 1 ч к строке нагрузки и "
                              "передать это занятие?"});
        EXPECT_EQ(given, answer == Answer::Yes);
        EXPECT_EQ(number(hours), answer == Answer::Yes ? 2 : 1);
        EXPECT_EQ(lessonJob(), answer == Answer::Yes ? orlovMath : ivanovMath);
    }
    undo();
    EXPECT_EQ(number(hours), 1);
    EXPECT_EQ(lessonJob(), ivanovMath);
}

// Another program writes between the list and the cover: a tutor who has since been given a
// lesson at that time, or marked away, is not double-booked; the next one can take it.
TEST_F(CoverTest, ACandidateBusySinceTheListIsNotGivenTheLesson)
{
    const UncoveredLesson l = listed();
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    const QString busy = QString("INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, "
                                 "Key_Group, SubGroup, Key_Aud, Key_TypeLesson) VALUES (%1, 2, "
                                 "%2, %3, 0, 0, 1)")
                             .arg(b.day(monday))
                             .arg(orlovMath)
                             .arg(twin);
    ASSERT_EQ(sqlite3_exec(other, busy.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    const QString away = QString("INSERT INTO tblTutorOut (KeyTutor, FreeLocalDate, FreeLesson, "
                                 "KeyTypeOut) VALUES (%1, '2026-09-14', 2, 1)")
                             .arg(kuznetsov);
    ASSERT_EQ(sqlite3_exec(other, away.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);

    const QString given = counts();
    EXPECT_EQ(giveCover(session, prompts, l, candidate(l, "Орлов")), CoverResult::Unavailable);
    prompts.answers = {Answer::Yes};
    EXPECT_EQ(giveCover(session, prompts, l, candidate(l, "Кузнецов")), CoverResult::Unavailable);
    EXPECT_EQ(lessonJob(), ivanovMath);
    EXPECT_EQ(counts(), given);
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message),
              QStringList({"Преподаватель Орлов уже не свободен на 2 уроке 14.09.2026 "
                           "(преподаватель занят: П-1 (1), Матем, Орлов): замена не записана",
                           "Преподаватель Кузнецов отсутствует 14.09.2026 на 2 уроке: замена не "
                           "записана"}));
    prompts.answers = {Answer::Yes};
    EXPECT_EQ(giveCover(session, prompts, l, candidate(l, "Петров")), CoverResult::Given);
}

// An absence marked Friday to Tuesday runs over the weekend; its lessons are listed day by day.
TEST_F(CoverTest, AnAbsenceOverSeveralDays)
{
    const QDate friday = monday.addDays(4);
    for (const QDate &d : {friday, friday.addDays(3), friday.addDays(4)})
        b.add("tblTutorOut", {"KeyTutor", ivanov, "FreeLocalDate", d, "KeyTypeOut", 2});
    // Only one lesson away on Wednesday: not a whole day.
    b.add("tblTutorOut", {"KeyTutor", ivanov, "FreeLocalDate", friday.addDays(5), "FreeLesson",
                          1, "KeyTypeOut", 2});
    EXPECT_EQ(absenceEnd(b.db(), "Иванов", friday), friday.addDays(4));
    EXPECT_EQ(absenceEnd(b.db(), "Иванов", friday.addDays(3)), friday.addDays(4));
    EXPECT_EQ(absenceEnd(b.db(), "Иванов", monday.addDays(1)), monday.addDays(1));

    b.lesson(friday.addDays(4), 3, ivanovMath, g1, 1);
    const CoverList list = coverList(b.db(), "Иванов", monday, friday.addDays(4));
    ASSERT_EQ(list.lessons.size(), 2u) << list.refusal.toStdString();
    EXPECT_EQ(list.lessons[0].date, monday);
    EXPECT_EQ(list.lessons[1].date, friday.addDays(4));
    EXPECT_EQ(list.lessons[1].lesson, 3);
    EXPECT_TRUE(coverList(b.db(), "Иванов", monday.addDays(1), friday)
                    .refusal.startsWith("У преподавателя Иванов нет занятий с"));
    EXPECT_TRUE(coverList(b.db(), "Никто", monday, friday).refusal.contains("не найден"));
}

} // namespace
} // namespace korvesta
