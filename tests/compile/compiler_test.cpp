// Compiling a week automatically, on documents whose right answer is known, checked by the
// timetable check and by counting rows, never against the solver's own account.

#include "check/timetablecheck.h"
#include "compile/compiler.h"
#include "data/database.h"
#include "data/institutionbuilder.h"
#include "settings/settingsrecord.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace korvesta {
namespace {

class Compiler : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The study period ends with the week, so every line's share is all its hours.
        b.period("Session", QDate(2026, 9, 1), friday);
    }
    void TearDown() override { Database::forgetAll(); }

    int line(int tutor, int discipline, int group, int hours)
    {
        return b.add("tblJobList",
                     {"Key_Job", b.job(tutor, discipline), "Key_Group", group, "Hours", hours});
    }
    CompileResult compile()
    {
        CompileRequest request;
        request.from = monday;
        request.to = friday;
        request.timeLimitSeconds = 5;
        return compileTimetable(b.db(), settings, request);
    }
    qint64 count(const QString &where) const
    {
        return b.rawNumber("SELECT count(*) FROM tblTimeTableContent c JOIN tblTimeTableList d "
                           "ON d.Key = c.Key_TTList JOIN tblJob j ON j.Key = c.Key_Job WHERE "
                           + where);
    }
    // Lessons that share a date and a lesson with another of the same group, tutor or
    // auditorium.
    qint64 clashes(const QString &owner) const
    {
        return b.rawNumber("SELECT count(*) FROM (SELECT d.Date, c.Lesson, " + owner
                           + " FROM tblTimeTableContent c JOIN tblTimeTableList d ON d.Key = "
                             "c.Key_TTList JOIN tblJob j ON j.Key = c.Key_Job GROUP BY d.Date, "
                             "c.Lesson, "
                           + owner + " HAVING count(*) > 1)");
    }
    // Days of a group whose lessons are not one block.
    qint64 brokenDays() const
    {
        return b.rawNumber("SELECT count(*) FROM (SELECT d.Date, c.Key_Group FROM "
                           "tblTimeTableContent c JOIN tblTimeTableList d ON d.Key = c.Key_TTList "
                           "GROUP BY d.Date, c.Key_Group HAVING max(c.Lesson) - min(c.Lesson) + 1 "
                           "<> count(*))");
    }
    int checkErrors() const { return checkTimetable(b.db(), settings, monday, friday).errors; }

    TestFolder folder;
    QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    SettingsRecord settings;
    QDate monday = QDate(2026, 9, 14), friday = QDate(2026, 9, 18);
    int g1 = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    int g2 = b.add("tblGroups", {"Group", "П-2", "Course", "1"});
    int a101 = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
    int a102 = b.add("tblAuditories", {"Auditoria", "102", "Corpus", "Главный"});
    int ivanov = b.add("tblTutors", {"Tutor", "Иванов И.И.", "DefaultAud", "102 (Главный)"});
    int petrov = b.add("tblTutors", {"Tutor", "Петров П.П."});
    int sidorov = b.add("tblTutors", {"Tutor", "Сидоров С.С."});
    int math = b.add("tblDisciplines", {"Discipline", "Матем", "LevelDiff", 3});
    int physics = b.add("tblDisciplines", {"Discipline", "Физика"});
    int history = b.add("tblDisciplines", {"Discipline", "История"});
};

TEST_F(Compiler, FillsAFeasibleWeekExactlyWithoutClashesOrGaps)
{
    line(ivanov, math, g1, 8);
    line(ivanov, math, g2, 7);
    line(petrov, physics, g1, 6);
    line(petrov, physics, g2, 5);
    line(sidorov, history, g1, 4);
    line(sidorov, history, g2, 4);

    const CompileResult result = compile();
    ASSERT_TRUE(result.refusal.isEmpty()) << result.refusal.toStdString();
    EXPECT_TRUE(result.written);
    EXPECT_EQ(result.target, 34);
    EXPECT_EQ(result.placed, 34);
    EXPECT_EQ(count("1"), 34);
    EXPECT_EQ(count("j.Key_Tutor = " + QString::number(ivanov) + " AND c.Key_Group = "
                    + QString::number(g1)),
              8);
    EXPECT_EQ(clashes("c.Key_Group"), 0);
    EXPECT_EQ(clashes("j.Key_Tutor"), 0);
    EXPECT_EQ(clashes("c.Key_Aud"), 0);
    EXPECT_EQ(count("c.Key_Aud IS NULL"), 0) << "an auditorium is always given";
    EXPECT_EQ(brokenDays(), 0) << "no gaps in a group's day";
    EXPECT_EQ(checkErrors(), 0);
    // Ivanov's usual auditorium where it is free: he is never in two places at once.
    EXPECT_EQ(count("j.Key_Tutor = " + QString::number(ivanov) + " AND c.Key_Aud = "
                    + QString::number(a102)),
              15);

    // A second run finds nothing left to place and writes nothing.
    const CompileResult again = compile();
    EXPECT_FALSE(again.refusal.isEmpty());
    EXPECT_EQ(count("1"), 34);
}

TEST_F(Compiler, KeepsTheLessonsThereAndLeavesProtectedDatesAlone)
{
    line(ivanov, math, g1, 6);
    line(petrov, physics, g1, 4);
    const int fixed = b.lesson(monday, 3, b.job(ivanov, math), g1, a101);
    b.day(monday.addDays(1), true); // Tuesday protected

    const CompileResult result = compile();
    ASSERT_TRUE(result.written) << result.refusal.toStdString();
    EXPECT_EQ(result.target, 9) << "the lesson there counts to the share";
    EXPECT_EQ(result.placed, 9);
    EXPECT_EQ(b.rawNumber("SELECT count(*) FROM tblTimeTableContent WHERE Key = "
                          + QString::number(fixed) + " AND Lesson = 3"),
              1);
    EXPECT_EQ(count("d.Date = '2026-09-15'"), 0);
    EXPECT_EQ(count("1"), 10);
    EXPECT_EQ(checkErrors(), 0);
}

TEST_F(Compiler, ExplainsWhatCouldNotBePlaced)
{
    line(ivanov, math, g1, 5);
    line(petrov, physics, g1, 4);
    // Petrov is away all week but Wednesday's first two lessons; Ivanov does not work on
    // Thursdays and Fridays.
    for (int d = 0; d < 5; ++d) {
        if (d != 2)
            b.add("tblTutorOut", {"KeyTutor", petrov, "FreeLesson", 0, "FreeLocalDate",
                                  monday.addDays(d), "KeyTypeOut", 1});
    }
    for (int lesson = 3; lesson <= 14; ++lesson)
        b.add("tblTutorOut", {"KeyTutor", petrov, "FreeLesson", lesson, "FreeLocalDate",
                              monday.addDays(2), "KeyTypeOut", 1});
    for (const int weekday : {4, 5})
        b.add("tblTutorOut", {"KeyTutor", ivanov, "FreeDay", weekday, "FreeLesson", 0,
                              "KeyTypeOut", 1});

    const CompileResult result = compile();
    ASSERT_EQ(result.lines.size(), 2u);
    const CompiledLine &physicsLine = result.lines[1];
    EXPECT_EQ(physicsLine.placed, 2);
    EXPECT_TRUE(physicsLine.reason.contains("Петров П.П.")) << physicsLine.reason.toStdString();
    EXPECT_EQ(result.lines[0].placed, 5);
    EXPECT_EQ(count("j.Key_Tutor = " + QString::number(ivanov)
                    + " AND d.Date >= '2026-09-17'"),
              0);
    EXPECT_EQ(checkErrors(), 0);
}

TEST_F(Compiler, AWeekATutorIsAwayLeavesHisHoursToTheWeeksAfter)
{
    // Two weeks of study left; Petrov is away all of the first.
    b.raw("UPDATE tblAutoTable SET DateEnd = '2026-09-25'");
    line(ivanov, math, g1, 8);
    line(petrov, physics, g1, 4);
    for (int d = 0; d < 5; ++d)
        b.add("tblTutorOut", {"KeyTutor", petrov, "FreeLesson", 0, "FreeLocalDate",
                              monday.addDays(d), "KeyTypeOut", 1});
    const CompileResult first = compile();
    ASSERT_EQ(first.lines.size(), 1u) << "nothing is asked of Petrov this week";
    EXPECT_EQ(first.placed, 4);

    CompileRequest next;
    next.from = monday.addDays(7);
    next.to = friday.addDays(7);
    const CompileResult second = compileTimetable(b.db(), settings, next);
    EXPECT_EQ(second.target, 8);
    EXPECT_EQ(second.placed, 8);
}

TEST_F(Compiler, ReadsALectureToTwoGroupsWhenTheTutorHasNoOtherTime)
{
    // Ivanov is there on Monday's first five lessons only: both groups' ten lessons fit only
    // as five lectures, each in one auditorium.
    line(ivanov, math, g1, 5);
    line(ivanov, math, g2, 5);
    for (int d = 1; d < 5; ++d)
        b.add("tblTutorOut", {"KeyTutor", ivanov, "FreeLesson", 0, "FreeLocalDate",
                              monday.addDays(d), "KeyTypeOut", 1});
    for (int lesson = 6; lesson <= 14; ++lesson)
        b.add("tblTutorOut", {"KeyTutor", ivanov, "FreeLesson", lesson, "FreeLocalDate", monday,
                              "KeyTypeOut", 1});
    settings.CountGroupOnLecture = 1;
    EXPECT_EQ(compile().placed, 5) << "one group at a time without lectures";
    b.raw("DELETE FROM tblTimeTableContent");

    settings.CountGroupOnLecture = 2;
    const CompileResult result = compile();
    EXPECT_EQ(result.placed, 10);
    EXPECT_EQ(b.rawNumber("SELECT count(*) FROM (SELECT c.Lesson FROM tblTimeTableContent c "
                          "GROUP BY c.Lesson HAVING count(*) = 2 AND count(DISTINCT c.Key_Group) "
                          "= 2 AND count(DISTINCT c.Key_Aud) = 1)"),
              5);
    EXPECT_EQ(checkErrors(), 0);
}

TEST_F(Compiler, TeachesSubgroupsAtOnceWhenTheWeekHasNoRoomOtherwise)
{
    // Two lessons a day: the sixteen lessons of the halves fit the week's ten lessons only
    // when both halves are taught at once, each by its own tutor in its own auditorium.
    const int english = b.add("tblDisciplines", {"Discipline", "Английский"});
    line(ivanov, english, g1, 8);
    line(petrov, english, g1, 8);
    line(sidorov, history, g1, 2);
    settings.LessonsToGroup = 2;
    settings.SubGroupCount = 2;

    const CompileResult result = compile();
    ASSERT_TRUE(result.written) << result.refusal.toStdString();
    EXPECT_EQ(result.placed, 18);
    EXPECT_EQ(count("c.SubGroup = 1 AND j.Key_Tutor = " + QString::number(ivanov)), 8);
    EXPECT_EQ(count("c.SubGroup = 2 AND j.Key_Tutor = " + QString::number(petrov)), 8);
    EXPECT_EQ(count("c.SubGroup = 0 AND j.Key_Tutor = " + QString::number(sidorov)), 2);
    EXPECT_EQ(clashes("j.Key_Tutor"), 0);
    EXPECT_EQ(clashes("c.Key_Aud"), 0);
    EXPECT_EQ(checkErrors(), 0);

    // With one subgroup at most the halves are whole-group lessons: ten of the eighteen fit.
    b.raw("DELETE FROM tblTimeTableContent");
    settings.SubGroupCount = 1;
    EXPECT_EQ(compile().placed, 10);
    EXPECT_EQ(count("c.SubGroup <> 0"), 0);
    EXPECT_EQ(checkErrors(), 0);
}

TEST_F(Compiler, ReplacesItsOwnLessonsButNotThePlannersOrProtectedOnes)
{
    line(ivanov, math, g1, 6);
    line(petrov, physics, g1, 4);
    const int byHand = b.lesson(monday, 1, b.job(sidorov, history), g2, a101);
    ASSERT_EQ(compile().placed, 10);
    CompileRequest request;
    request.from = monday;
    request.to = friday;
    EXPECT_EQ(compiledLessonCount(b.db(), request), 10);

    // The planner moves one compiled lesson to the day's end and protects Friday.
    const qint64 moved = b.rawNumber(
        "SELECT min(c.Key) FROM tblTimeTableContent c JOIN tblTimeTableList d ON d.Key = "
        "c.Key_TTList WHERE d.Date < '2026-09-18' AND c.Key_Group = " + QString::number(g1));
    b.raw("UPDATE tblTimeTableContent SET Lesson = 14 WHERE Key = " + QString::number(moved));
    b.raw("UPDATE tblTimeTableList SET ReadOnly = 1 WHERE Date = '2026-09-18'");
    const qint64 onFriday = count("d.Date = '2026-09-18'");
    EXPECT_EQ(compiledLessonCount(b.db(), request), 9 - onFriday);

    request.replace = true;
    request.timeLimitSeconds = 5;
    const CompileResult again = compileTimetable(b.db(), settings, request);
    ASSERT_TRUE(again.written) << again.refusal.toStdString();
    EXPECT_EQ(again.replaced, 9 - onFriday);
    EXPECT_EQ(again.placed, again.replaced) << "what was taken away is placed anew";
    EXPECT_EQ(count("1"), 11);
    EXPECT_EQ(count("c.Key = " + QString::number(moved) + " AND c.Lesson = 14"), 1);
    EXPECT_EQ(count("c.Key = " + QString::number(byHand)), 1);
    EXPECT_EQ(count("d.Date = '2026-09-18'"), onFriday);
    EXPECT_EQ(checkErrors(), 0);
    EXPECT_EQ(b.rawNumber("SELECT count(*) FROM tblCompiledLessons WHERE Key NOT IN (SELECT Key "
                          "FROM tblTimeTableContent)"),
              0)
        << "the marks of lessons taken away go with them";
}

// Another program cannot write while the week is searched: the plan and the check it passes
// read the timetable as it is written.
TEST_F(Compiler, AnotherWriterIsHeldOffUntilTheWeekIsWritten)
{
    line(ivanov, math, g1, 5);
    line(petrov, physics, g2, 5);
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    const QByteArray clash =
        QStringLiteral("INSERT INTO tblTimeTableList (Date, ReadOnly) VALUES ('2026-09-15', 0)")
            .toUtf8();
    int during = SQLITE_OK;
    CompileRequest request;
    request.from = monday;
    request.to = friday;
    request.timeLimitSeconds = 5;
    request.progress = [&](int, long long) {
        if (during == SQLITE_OK)
            during = sqlite3_exec(other, clash.constData(), nullptr, nullptr, nullptr);
    };
    const CompileResult result = compileTimetable(b.db(), settings, request);
    EXPECT_EQ(during, SQLITE_BUSY);
    EXPECT_TRUE(result.written);
    EXPECT_EQ(result.placed, 10);
    EXPECT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; ROLLBACK;", nullptr, nullptr, nullptr),
              SQLITE_OK)
        << "free again once the week is written";
    sqlite3_close(other);
    EXPECT_EQ(checkErrors(), 0);
}

TEST_F(Compiler, RefusesAPeriodWithNothingToDo)
{
    line(ivanov, math, g1, 5);
    CompileRequest weekend;
    weekend.from = QDate(2026, 9, 19);
    weekend.to = QDate(2026, 9, 20);
    EXPECT_TRUE(compileTimetable(b.db(), settings, weekend).refusal.contains("нет учебных дней"));

    b.raw("UPDATE tblJobList SET Hours = 0");
    EXPECT_TRUE(compile().refusal.contains("Нечего ставить"));
    EXPECT_EQ(count("1"), 0);
}

// The shares of successive periods add up to the hours exactly, however they round.
TEST(LessonShare, TheYearComesOutExact)
{
    EXPECT_EQ(lessonShare(10, 5, 5), 10);
    EXPECT_EQ(lessonShare(10, 5, 50), 1);
    EXPECT_EQ(lessonShare(0, 5, 50), 0);
    EXPECT_EQ(lessonShare(10, 0, 50), 0);
    for (const int hours : {1, 7, 37, 144, 250}) {
        int left = hours;
        for (int daysLeft = 163; daysLeft > 0; daysLeft -= 5)
            left -= lessonShare(left, std::min(5, daysLeft), daysLeft);
        EXPECT_EQ(left, 0) << hours;
    }
}

} // namespace
} // namespace korvesta
