// Clearing a timetable cell and deleting whole dates: what goes, what stays (protected dates,
// other cells, notes), the texts shown, Cancel and a failure midway, and the undo step.

#include "editing/progress.h"
#include "editing/timetableclearing.h"
#include "settings/settingsrecord.h"
#include "support/documentfixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace korvesta {
namespace {

using Kind = ScriptedPrompts::Kind;
using Answer = Prompts::Answer;

// Records what a deletion reports; stops when asked to after a number of dates.
class RecordedProgress : public Progress
{
public:
    void status(const QString &text) override { texts << text; }
    void advance(int done, int total) override
    {
        lastDone = done;
        lastTotal = total;
    }
    bool cancelled() override { return stopAfter >= 0 && lastDone >= stopAfter; }

    QStringList texts;
    int lastDone = -1, lastTotal = -1;
    int stopAfter = -1;
};

// Two groups of course 1 and a group of course 2; Иванов lectures mathematics to all, Петров
// teaches physics to П-1. The week of 14.09.2026 has lessons on every working day, the
// weeks around it one lesson each.
class Clearing : public DocumentTest
{
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        settings.CheckDelete = false;
        for (int d = 0; d < 5; ++d) {
            const QDate date = monday.addDays(d);
            b.lesson(date, 1, ivanovMath, g1, a101);
            b.lesson(date, 1, ivanovMath, g2, a101);
            b.lesson(date, 2, petrovPhys, g1, a202);
        }
        b.lesson(monday.addDays(-7), 3, ivanovMath, g3, a101);
        b.lesson(monday.addDays(7), 3, ivanovMath, g3, a101);
    }

    int group(const char *name, const char *course)
    {
        return b.add("tblGroups", {"Group", name, "Course", course});
    }
    // Every lesson as "date|lesson|group|subgroup|tutor", in that order.
    QStringList lessons() const
    {
        return b.raw("SELECT d.Date, c.Lesson, g.\"Group\", c.SubGroup, t.Tutor FROM "
                     "tblTimeTableContent c JOIN tblTimeTableList d ON d.Key = c.Key_TTList "
                     "JOIN tblGroups g ON g.Key = c.Key_Group JOIN tblJob j ON j.Key = c.Key_Job "
                     "JOIN tblTutors t ON t.Key = j.Key_Tutor "
                     "ORDER BY d.Date, c.Lesson, g.\"Group\", c.SubGroup");
    }
    QStringList dates() const { return b.raw("SELECT Date FROM tblTimeTableList ORDER BY Date"); }
    // The lessons and dates of `before` without those the predicate names.
    static QStringList without(QStringList rows, const std::function<bool(const QString &)> &gone)
    {
        rows.removeIf(gone);
        return rows;
    }
    static std::function<bool(const QString &)> on(const QStringList &isoDates)
    {
        return [isoDates](const QString &row) { return isoDates.contains(row.left(10)); };
    }
    QStringList messages() const { return prompts.texts(Kind::Message); }
    QStringList questions() const { return prompts.texts(Kind::YesNo); }

    QDate monday = QDate(2026, 9, 14);
    int g1 = group("П-1", "1"), g2 = group("П-2", "1"), g3 = group("П-3", "2");
    int math = b.add("tblDisciplines", {"Discipline", "Матем", "Discipline1", "Математика"});
    int phys = b.add("tblDisciplines", {"Discipline", "Физ", "Discipline1", "Физика"});
    int a101 = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
    int a202 = b.add("tblAuditories", {"Auditoria", "202", "Corpus", "Главный"});
    int ivanov = b.add("tblTutors", {"Tutor", "Иванов"});
    int petrov = b.add("tblTutors", {"Tutor", "Петров"});
    int ivanovMath = b.job(ivanov, math), petrovPhys = b.job(petrov, phys);

    SettingsRecord settings;
    TimetableClearing clearing{session, settings, prompts};
    RecordedProgress progress;
};

TEST_F(Clearing, CellClearingTakesTheColumnsLessonsAtThatLessonOnly)
{
    const QString tuesday = monday.addDays(1).toString(Qt::ISODate);
    const QString groupQuestion = "Удаляется запись из расписания:\r\nгруппа\tП-1\r\nурок\t1\r\n"
                                  "дата\t15.09.2026\r\n\r\nПродолжить?";
    const QString tutorQuestion = "Удаляется запись из расписания:\r\nпреподаватель\tИванов\r\n"
                                  "урок\t\t1\r\nдата\t\t15.09.2026\r\n\r\nПродолжить?";
    const struct
    {
        const char *name;
        bool checkDelete;
        std::vector<Answer> answers;
        bool byTutor;
        QString question; // empty: none asked
        std::function<bool(const QString &)> gone;
    } cases[] = {
        // П-1 has two subgroups at lesson 1 on Tuesday: both go, П-2's lecture row stays.
        {"group, no question",
         false,
         {},
         false,
         {},
         [&](const QString &r) { return r.startsWith(tuesday + "|1|П-1|"); }},
        {"group, declined",
         true,
         {Answer::No},
         false,
         groupQuestion,
         [](const QString &) { return false; }},
        {"group, confirmed",
         true,
         {Answer::Yes},
         false,
         groupQuestion,
         [&](const QString &r) { return r.startsWith(tuesday + "|1|П-1|"); }},
        // Иванов's lecture goes for every group; Петров's subgroup at the same lesson stays.
        {"tutor",
         true,
         {Answer::Yes},
         true,
         tutorQuestion,
         [&](const QString &r) { return r.startsWith(tuesday + "|1|") && r.endsWith("|Иванов"); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        b.raw("DELETE FROM tblTimeTableContent WHERE Key_TTList = "
              + QString::number(b.day(monday.addDays(1))));
        b.lesson(monday.addDays(1), 1, ivanovMath, g1, a101, 1);
        b.lesson(monday.addDays(1), 1, petrovPhys, g1, a202, 2);
        b.lesson(monday.addDays(1), 1, ivanovMath, g2, a101);
        b.lesson(monday.addDays(1), 2, petrovPhys, g1, a202);
        prompts.shown.clear();
        prompts.answers.assign(c.answers.begin(), c.answers.end());
        settings.CheckDelete = c.checkDelete;
        const QStringList before = lessons();
        const ClearingOutcome outcome =
            c.byTutor ? clearing.clearTutorCell(monday.addDays(1), 1, "Иванов")
                      : clearing.clearGroupCell(monday.addDays(1), 1, " П-1 ", "1", "");
        EXPECT_EQ(outcome, c.answers.empty() || c.answers.front() == Answer::Yes
                               ? ClearingOutcome::Done
                               : ClearingOutcome::Refused);
        EXPECT_EQ(lessons(), without(before, c.gone));
        EXPECT_EQ(questions(), c.question.isEmpty() ? QStringList() : QStringList{c.question});
        EXPECT_TRUE(messages().isEmpty());
        EXPECT_TRUE(prompts.exhausted());
    }
}

TEST_F(Clearing, CellRefusals)
{
    b.raw("UPDATE tblTimeTableList SET ReadOnly = 1 WHERE Date = '2026-09-16'");
    settings.CheckDelete = true;
    const QStringList before = lessons();
    const struct
    {
        const char *name;
        std::function<ClearingOutcome()> clear;
        QString message;
        Prompts::Icon icon;
        QString status;
    } cases[] = {
        {"protected date",
         [&] { return clearing.clearGroupCell(monday.addDays(2), 1, "П-1", "1", ""); },
         "Дата заблокирована для редактирования", Prompts::Icon::Critical,
         "Дата заблокирована для редактирования"},
        {"protected, by tutor",
         [&] { return clearing.clearTutorCell(monday.addDays(2), 2, "Петров"); },
         "Дата заблокирована для редактирования", Prompts::Icon::Critical,
         "Дата заблокирована для редактирования"},
        {"unknown group", [&] { return clearing.clearGroupCell(monday, 1, "П-1", "2", ""); },
         "Группа П-1 (курс 2) не найдена", Prompts::Icon::Warning, ""},
        {"unknown tutor", [&] { return clearing.clearTutorCell(monday, 1, "Сидоров"); },
         "Преподаватель Сидоров не найден", Prompts::Icon::Warning, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        prompts.shown.clear();
        EXPECT_EQ(c.clear(), ClearingOutcome::Refused);
        EXPECT_EQ(messages(), QStringList{c.message});
        EXPECT_EQ(prompts.shown.front().icon, c.icon);
        EXPECT_EQ(clearing.statusText(), c.status);
        EXPECT_TRUE(questions().isEmpty()); // refused before asking
        EXPECT_EQ(lessons(), before);
    }
}

TEST_F(Clearing, TheLastLessonTakesTheDateRowUnlessANoteNeedsIt)
{
    const QDate before = monday.addDays(-7), after = monday.addDays(7);
    b.add("tblNotes", {"Key_TTL", b.day(after), "Note", "Экскурсия"});
    EXPECT_EQ(clearing.clearGroupCell(before, 3, "П-3", "2", ""), ClearingOutcome::Done);
    EXPECT_EQ(clearing.clearTutorCell(after, 3, "Иванов"), ClearingOutcome::Done);
    EXPECT_FALSE(dates().contains("2026-09-07"));
    EXPECT_TRUE(dates().contains("2026-09-21"));
    EXPECT_EQ(b.rawNumber("SELECT count(*) FROM tblNotes"), 1);
    // A date with lessons left keeps its row.
    EXPECT_EQ(clearing.clearGroupCell(monday, 2, "П-1", "1", ""), ClearingOutcome::Done);
    EXPECT_TRUE(dates().contains("2026-09-14"));
    EXPECT_EQ(b.rawNumber("SELECT count(*) FROM tblTimeTableContent c JOIN tblTimeTableList d "
                          "ON d.Key = c.Key_TTList WHERE d.Date IN ('2026-09-07', '2026-09-21')"),
              0);
}

TEST_F(Clearing, AWeekWithAProtectedWednesdayKeepsWednesday)
{
    b.raw("UPDATE tblTimeTableList SET ReadOnly = 1 WHERE Date = '2026-09-16'");
    const QStringList allLessons = lessons(), allDates = dates();
    const QStringList week = {"2026-09-14", "2026-09-15", "2026-09-17", "2026-09-18"};

    const TimetableDeletion d = clearing.deleteRange(monday.addDays(6), monday, progress);
    EXPECT_EQ(d.outcome, ClearingOutcome::Done);
    EXPECT_EQ(d.deleted, 4);
    EXPECT_EQ(d.protectedDates, 1);
    EXPECT_FALSE(d.cancelled);
    EXPECT_EQ(lessons(), without(allLessons, on(week)));
    EXPECT_EQ(dates(), without(allDates, on(week)));
    EXPECT_EQ(progress.texts, QStringList({"Дата 16.09.2026 заблокирована для редактирования",
                                           "Удаление завершено"}));
    EXPECT_EQ(progress.lastDone, 5);
    EXPECT_EQ(progress.lastTotal, 5);
    EXPECT_TRUE(prompts.shown.empty()); // the status bar only, no message box
}

TEST_F(Clearing, DeletingAllTakesEveryDateWithLessons)
{
    b.raw("UPDATE tblTimeTableList SET ReadOnly = 1 WHERE Date = '2026-09-21'");
    b.day(QDate(2026, 10, 1)); // no lessons
    b.add("tblNotes", {"Key_TTL", b.day(monday.addDays(1)), "Note", "Совет"});
    const TimetableDeletion d = clearing.deleteAll(progress);
    EXPECT_EQ(d.deleted, 6);
    EXPECT_EQ(d.protectedDates, 1);
    EXPECT_EQ(lessons(), QStringList({"2026-09-21|3|П-3|0|Иванов"}));
    // The note keeps its date, and so does the date that had no lessons.
    EXPECT_EQ(dates(), QStringList({"2026-09-15", "2026-09-21", "2026-10-01"}));
    EXPECT_EQ(progress.texts, QStringList({"Дата 21.09.2026 заблокирована для редактирования",
                                           "Удаление завершено"}));
}

TEST_F(Clearing, CancelAndFailureLeaveTheDocumentAsItWas)
{
    const QStringList allLessons = lessons(), allDates = dates();
    progress.stopAfter = 2;
    TimetableDeletion d = clearing.deleteRange(monday, monday.addDays(6), progress);
    EXPECT_TRUE(d.cancelled);
    EXPECT_EQ(d.deleted, 0);
    EXPECT_EQ(d.outcome, ClearingOutcome::Done);
    EXPECT_EQ(lessons(), allLessons);
    EXPECT_EQ(progress.texts, QStringList{"Удаление остановлено: расписание не изменено"});

    // The engine refuses Thursday's lessons: the dates before it come back whole.
    b.raw("CREATE TRIGGER refuse BEFORE DELETE ON tblTimeTableContent WHEN old.Key_TTList = "
          + QString::number(b.day(monday.addDays(3)))
          + " BEGIN SELECT RAISE(ABORT, 'refused'); END");
    prompts.shown.clear();
    progress = RecordedProgress();
    d = clearing.deleteAll(progress);
    EXPECT_EQ(d.outcome, ClearingOutcome::Failed);
    EXPECT_EQ(d.deleted, 0);
    EXPECT_EQ(lessons(), allLessons);
    EXPECT_EQ(dates(), allDates);
    ASSERT_FALSE(messages().isEmpty());
    EXPECT_EQ(messages().back(), "Удаление расписания прервано: расписание не изменено");
    EXPECT_EQ(progress.texts.back(), "Удаление прервано: расписание не изменено");
    b.raw("DROP TRIGGER refuse");
}

TEST_F(Clearing, ADeletionIsOneStepThatUndoRestoresRowByRow)
{
    const std::optional<Database> db = session.access();
    ASSERT_TRUE(db);
    History *history = History::of(*db);
    ASSERT_NE(history, nullptr);
    history->clear();
    const auto everything = [&] {
        return b.raw("SELECT Key, Date, ReadOnly FROM tblTimeTableList ORDER BY Key")
               + b.raw("SELECT Key, Key_TTList, Lesson, Key_Job, Key_Group, SubGroup, Key_Aud, "
                       "Key_TypeLesson FROM tblTimeTableContent ORDER BY Key");
    };
    const QStringList before = everything();
    clearing.deleteRange(monday, monday.addDays(6), progress);
    const QStringList after = everything();
    ASSERT_NE(after, before);
    EXPECT_EQ(history->undoCaptions(), QStringList{"удаление расписания 14.09–20.09.2026"});
    history->undo();
    EXPECT_EQ(everything(), before);
    history->redo();
    EXPECT_EQ(everything(), after);

    settings.CheckDelete = false;
    history->clear();
    clearing.clearGroupCell(monday.addDays(-7), 3, "П-3", "2", "");
    EXPECT_EQ(history->undoCaptions(),
              QStringList{"удаление записи из расписания: П-3, 07.09.2026, урок 3"});
    history->undo();
    EXPECT_EQ(everything(), after);
}

} // namespace
} // namespace korvesta
