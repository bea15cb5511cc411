// Placing lessons from a timetable cell: the refusals before the job choice opens, the marks
// it shows, and what "Добавить" writes, each checked against the document.

#include "data/dberror.h"
#include "data/history.h"
#include "editing/auditoriumchange.h"
#include "editing/datelock.h"
#include "editing/placement.h"
#include "settings/settingsrecord.h"
#include "support/documentfixture.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace korvesta {
namespace {

using Kind = ScriptedPrompts::Kind;
using Answer = Prompts::Answer;

// Three groups of course 1 without faculty; Иванов (usual auditorium 101) teaches all three
// mathematics, Петров physics to П-1 for a single hour, Сидоров (usual 202) physics to П-2.
class Placement : public DocumentTest
{
protected:
    int group(const char *name) { return b.add("tblGroups", {"Group", name, "Course", "1"}); }
    int line(int job, int groupKey, int hours)
    {
        return b.add("tblJobList", {"Key_Job", job, "Key_Group", groupKey, "Hours", hours});
    }
    // Lesson, subgroup, group and auditorium of the group's rows on the day, in lesson order.
    QStringList placed(int groupKey, const QDate &date) const
    {
        return b.raw(QString("SELECT c.Lesson, c.SubGroup, g.\"Group\", a.Auditoria, "
                             "c.Key_TypeLesson FROM tblTimeTableContent c JOIN tblGroups g ON "
                             "g.Key = c.Key_Group JOIN tblTimeTableList d ON d.Key = c.Key_TTList "
                             "LEFT JOIN tblAuditories a ON a.Key = c.Key_Aud WHERE c.Key_Group = "
                             "%1 AND d.Date = '%2' ORDER BY c.Lesson, c.SubGroup")
                         .arg(groupKey)
                         .arg(date.toString(Qt::ISODate)));
    }
    qint64 contentRows() const { return b.rawNumber("SELECT count(*) FROM tblTimeTableContent"); }
    QStringList messages() const { return prompts.texts(Kind::Message); }
    std::optional<PlacementChoice> openGroup(int lesson, const char *name = "П-1")
    {
        return placement.openForGroup(monday, lesson, name, "1", "");
    }
    std::optional<PlacementChoice> openTutor(int lesson, const char *name = "Иванов",
                                             const QDate &date = {})
    {
        return placement.openForTutor(date.isValid() ? date : monday, lesson, name);
    }
    PlacementResult add(PlacementChoice &c, bool paired = false, int type = 1)
    {
        return placement.add(c, {type, paired});
    }

    QDate monday = QDate(2026, 9, 14); // a Monday
    int g1 = group("П-1"), g2 = group("П-2"), g3 = group("П-3");
    int math = b.add("tblDisciplines", {"Discipline", "Матем", "Discipline1", "Математика"});
    int phys = b.add("tblDisciplines", {"Discipline", "Физ", "Discipline1", "Физика"});
    int a101 = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
    int a202 = b.add("tblAuditories", {"Auditoria", "202", "Corpus", "Главный"});
    int ivanov = b.add("tblTutors", {"Tutor", "Иванов", "DefaultAud", "101 (Главный)"});
    int petrov = b.add("tblTutors", {"Tutor", "Петров"});
    int sidorov = b.add("tblTutors", {"Tutor", "Сидоров", "DefaultAud", "202 (Главный)"});
    int ivanovMath = b.job(ivanov, math), petrovPhys = b.job(petrov, phys);
    int sidorovPhys = b.job(sidorov, phys);
    int ivanovG1 = line(ivanovMath, g1, 40), ivanovG2 = line(ivanovMath, g2, 40);
    int ivanovG3 = line(ivanovMath, g3, 40), petrovG1 = line(petrovPhys, g1, 1);
    int sidorovG2 = line(sidorovPhys, g2, 20);

    SettingsRecord settings;
    LessonPlacement placement{session, settings, store, prompts};
};

TEST_F(Placement, PairedLessonTakesTheOtherLessonOfItsPair)
{
    const struct
    {
        int lesson;
        QStringList rows;
    } cases[] = {
        {4, {"3|0|П-1|101|1", "4|0|П-1|101|1"}},
        {5, {"5|0|П-1|101|1", "6|0|П-1|101|1"}},
    };
    for (const auto &c : cases) {
        b.raw("DELETE FROM tblTimeTableContent");
        std::optional<PlacementChoice> choice = openGroup(c.lesson);
        ASSERT_TRUE(choice);
        EXPECT_TRUE(choice->pairEnabled);
        EXPECT_FALSE(choice->pairChecked); // MergeLessons is off
        ASSERT_TRUE(choice->check(ivanovG1, prompts));
        const PlacementResult result = add(*choice, true);
        EXPECT_EQ(result.outcome, PlacementOutcome::Written);
        EXPECT_EQ(placed(g1, monday), c.rows) << c.lesson;
        ASSERT_EQ(result.cells.size(), 2u);
        EXPECT_FALSE(result.cells[0].text.isEmpty());
    }
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Placement, SubgroupsAreNumberedFromOneByGroup)
{
    std::optional<PlacementChoice> choice = openGroup(2);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->headers.size(), 6);
    ASSERT_TRUE(choice->check(ivanovG1, prompts));
    ASSERT_TRUE(choice->check(petrovG1, prompts));
    EXPECT_FALSE(choice->check(line(sidorovPhys, g1, 5), prompts)); // not among the lines
    // Петров has no usual auditorium: the box must be filled, from the list or by typing.
    EXPECT_EQ(add(*choice).outcome, PlacementOutcome::Refused);
    choice->typeAuditorium(2, "303 (Главный)");
    EXPECT_EQ(add(*choice).outcome, PlacementOutcome::Refused);
    choice->typeAuditorium(2, "202 (главный)");
    EXPECT_EQ(messages(), QStringList({"Выберите аудиторию",
                                       "Аудитория '303 (Главный)' не найдена в списке аудиторий"}));
    EXPECT_EQ(contentRows(), 0);
    EXPECT_EQ(add(*choice, false, 3).outcome, PlacementOutcome::Written);
    EXPECT_EQ(placed(g1, monday), QStringList({"2|1|П-1|101|3", "2|2|П-1|202|3"}));

    // Placing again replaces the cell's lessons by the new single one, the whole group's
    // (subgroup 0, not the first of two).
    choice = openGroup(2);
    ASSERT_TRUE(choice);
    EXPECT_FALSE(choice->cellWasEmpty);
    ASSERT_TRUE(choice->check(ivanovG1, prompts));
    EXPECT_EQ(add(*choice).outcome, PlacementOutcome::Written);
    EXPECT_EQ(placed(g1, monday), QStringList({"2|0|П-1|101|1"}));
}

TEST_F(Placement, CheckingPastTheSlotLimitIsRefused)
{
    settings.SubGroupCount = 1;
    std::optional<PlacementChoice> choice = openGroup(1);
    ASSERT_TRUE(choice);
    EXPECT_TRUE(choice->check(ivanovG1, prompts));
    EXPECT_FALSE(choice->check(petrovG1, prompts));
    EXPECT_EQ(choice->slotOf(petrovG1), 0);
    choice->uncheck(ivanovG1);
    EXPECT_TRUE(choice->check(petrovG1, prompts));
    EXPECT_EQ(choice->slotOf(petrovG1), 1);
    settings.CountGroupOnLecture = 2;
    choice = openTutor(1);
    ASSERT_TRUE(choice);
    EXPECT_TRUE(choice->check(ivanovG1, prompts) && choice->check(ivanovG2, prompts));
    EXPECT_FALSE(choice->check(ivanovG3, prompts));
    EXPECT_EQ(messages(),
              QStringList({"Достигнут предел количества подгрупп - не более 1",
                           "Достигнут предел количества групп для одной лекции - не более 2"}));
}

TEST_F(Placement, LectureForThreeGroupsNumbersEachGroupsSubgroups)
{
    settings.CountGroupOnLecture = 3;
    b.lesson(monday, 1, sidorovPhys, g2, a202);   // П-2 already has one
    b.lesson(monday, 1, petrovPhys, g3, a202, 1); // П-3 has two: the limit
    b.lesson(monday, 1, sidorovPhys, g3, a202, 2);
    std::optional<PlacementChoice> choice = openTutor(1);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->initialAuditorium, "101 (Главный)");
    EXPECT_FALSE(choice->line(ivanovG1)->groupBusy);
    EXPECT_TRUE(choice->line(ivanovG2)->groupBusy);
    EXPECT_EQ(choice->line(ivanovG2)->tooltip, "Группа занята на данном уроке");
    for (int key : {ivanovG1, ivanovG2, ivanovG3})
        ASSERT_TRUE(choice->check(key, prompts));
    EXPECT_EQ(choice->picks[1].keyAud, a101);
    const PlacementResult result = add(*choice);
    EXPECT_EQ(result.outcome, PlacementOutcome::Written);
    EXPECT_EQ(messages(), QStringList({"Достигнут предел количества подгрупп"}));
    EXPECT_EQ(placed(g1, monday), QStringList({"1|0|П-1|101|1"}));
    EXPECT_EQ(placed(g2, monday), QStringList({"1|1|П-2|202|1", "1|2|П-2|101|1"}));
    EXPECT_EQ(placed(g3, monday), QStringList({"1|1|П-3|202|1", "1|2|П-3|202|1"}));
    ASSERT_EQ(result.cells.size(), 1u);
    EXPECT_EQ(result.cells[0].text.count("\r\n"), 1); // П-1 and П-2 under Иванов
}

TEST_F(Placement, DayLimitsOfGroupAndTutor)
{
    settings.LessonsToGroup = 2;
    settings.LessonsToTutor = 2;
    b.lesson(monday, 1, ivanovMath, g1, a101);
    b.lesson(monday, 2, ivanovMath, g1, a101, 1);
    b.lesson(monday, 2, petrovPhys, g1, a202, 2); // two subgroups are one lesson
    EXPECT_FALSE(openGroup(3));
    std::optional<PlacementChoice> filled = openGroup(2);
    ASSERT_TRUE(filled); // a replacement is not limited
    EXPECT_EQ(filled->freeLessonsText, "Доступных занятий в день - 0");
    EXPECT_FALSE(filled->pairEnabled);
    EXPECT_FALSE(openTutor(3));
    EXPECT_TRUE(openTutor(1));
    EXPECT_EQ(messages(),
              QStringList({"Достигнут предел количества занятий в день для учебной группы",
                           "Достигнут предел дневной нагрузки для преподавателя"}));

    // Without a limit the day's lessons not yet taken are available, a pair among them.
    settings.LessonsToGroup = 0;
    settings.LessonsInDay = 8;
    std::optional<PlacementChoice> unlimited = openGroup(3);
    ASSERT_TRUE(unlimited);
    EXPECT_EQ(unlimited->freeLessonsText, "Доступных занятий в день - 6");
    EXPECT_TRUE(unlimited->pairEnabled);
}

TEST_F(Placement, ExhaustedLinesUnderTheOverflowSettings)
{
    b.lesson(monday.addDays(-7), 1, petrovPhys, g1, a202); // Петров's one hour is given
    const struct
    {
        bool jobOverFlow, overFlowView, listed, greyed;
    } cases[] = {{true, true, true, true},
                 {true, false, false, false},
                 {false, true, true, false},
                 {false, false, true, false}};
    for (const auto &c : cases) {
        settings.JobOverFlow = c.jobOverFlow;
        settings.OverFlowView = c.overFlowView;
        std::optional<PlacementChoice> choice = openGroup(1);
        ASSERT_TRUE(choice);
        const PlacementLine *l = choice->line(petrovG1);
        ASSERT_EQ(l != nullptr, c.listed) << c.jobOverFlow << c.overFlowView;
        if (!l)
            continue;
        EXPECT_LE(l->left(), 0);
        EXPECT_EQ(l->exhausted, c.greyed);
        choice->click(petrovG1);
        EXPECT_EQ(choice->okEnabled, !c.greyed);
        ASSERT_TRUE(choice->check(petrovG1, prompts));
        choice->chooseAuditorium(1, choice->freeAuditoriums().front());
        const PlacementOutcome expected =
            c.greyed ? PlacementOutcome::Refused : PlacementOutcome::Written;
        EXPECT_EQ(add(*choice).outcome, expected);
    }
    EXPECT_EQ(messages(), QStringList({"Выбраны заблокированные позиции\r\nФиз (Петров): все "
                                       "часы по дисциплине отработаны"}));
    EXPECT_EQ(placed(g1, monday).size(), 1);
}

TEST_F(Placement, TutorExceptionsRefuseByTutorAndMarkByGroup)
{
    const QDate tuesday = monday.addDays(1);
    const QVariant none;
    const struct
    {
        QVariant date, day, lesson;
        QDate on;
        int at;
        QString text;
    } cases[] = {
        {tuesday, none, none, tuesday, 3, "Свободный день"},
        {tuesday, none, 3, tuesday, 3, "Свободный урок"},
        {tuesday, none, 3, tuesday, 4, ""},
        {none, none, 3, tuesday, 3, "Постоянный свободный урок - 3"},
        {none, 2, none, tuesday, 5, "Постоянный свободный день недели - вт"},
        {none, 2, none, monday, 5, ""},
        {none, 2, 5, tuesday, 5, "Свободный урок - 5\r\nВ постоянный день недели - вт"},
    };
    for (const auto &c : cases) {
        b.raw("DELETE FROM tblTutorOut");
        b.add("tblTutorOut", {"KeyTutor", petrov, "FreeLocalDate", c.date, "FreeDay", c.day,
                              "FreeLesson", c.lesson, "KeyTypeOut", 1});
        prompts.shown.clear();
        const bool opened = openTutor(c.at, "Петров", c.on).has_value();
        EXPECT_EQ(opened, c.text.isEmpty()) << c.text.toStdString();
        EXPECT_EQ(messages(), c.text.isEmpty() ? QStringList() : QStringList{c.text});
    }

    // By group the busy tutor's line is marked and cannot be added; the pair column tells
    // whether he is free at the other lesson (4) of the pair.
    std::optional<PlacementChoice> choice = placement.openForGroup(tuesday, 3, "П-1", "1", "");
    ASSERT_TRUE(choice);
    const PlacementLine *l = choice->line(petrovG1);
    EXPECT_FALSE(l->tutorBusy); // the last exception is for lesson 5
    b.add("tblTutorOut", {"KeyTutor", petrov, "FreeDay", 2, "KeyTypeOut", 1});
    choice = placement.openForGroup(tuesday, 3, "П-1", "1", "");
    ASSERT_TRUE(choice);
    l = choice->line(petrovG1);
    EXPECT_TRUE(l->tutorBusy);
    EXPECT_EQ(l->tooltip, "Преподаватель занят на данный урок");
    EXPECT_EQ(choice->columns(*l).last(), "0");
    EXPECT_EQ(choice->columns(*choice->line(ivanovG1)).last(), "1");
    ASSERT_TRUE(choice->check(petrovG1, prompts));
    choice->typeAuditorium(1, "202 (Главный)");
    prompts.shown.clear();
    EXPECT_EQ(add(*choice).outcome, PlacementOutcome::Refused);
    EXPECT_EQ(messages(), QStringList({"Выбраны заблокированные позиции\r\nПетров: отсутствует "
                                       "(Постоянный свободный день недели - вт)"}));
}

// A tutor who already teaches another group at the lesson is marked and refused by group;
// one who starts teaching there after the choice opened is refused when it is written.
TEST_F(Placement, ATutorTeachingElsewhereIsMarkedAndRefused)
{
    b.lesson(monday, 3, ivanovMath, g2, a101);
    std::optional<PlacementChoice> choice = openGroup(3);
    ASSERT_TRUE(choice);
    const PlacementLine *l = choice->line(ivanovG1);
    ASSERT_TRUE(l);
    EXPECT_TRUE(l->tutorBusy);
    EXPECT_EQ(l->tooltip, "Преподаватель занят на данный урок");
    ASSERT_TRUE(choice->check(ivanovG1, prompts));
    choice->typeAuditorium(1, "202 (Главный)");
    EXPECT_EQ(add(*choice).outcome, PlacementOutcome::Refused);
    EXPECT_EQ(messages(), QStringList({"Выбраны заблокированные позиции\r\nИванов: ведёт другое "
                                       "занятие на этом уроке"}));
    EXPECT_TRUE(placed(g1, monday).isEmpty());

    // Сидоров is free when the choice opens; П-2's lesson 4 is given to him before
    // "Добавить", and the write refuses him.
    prompts.shown.clear();
    const int sidorovG1 = line(sidorovPhys, g1, 10);
    choice = openGroup(4);
    ASSERT_TRUE(choice);
    ASSERT_FALSE(choice->line(sidorovG1)->tutorBusy);
    ASSERT_TRUE(choice->check(sidorovG1, prompts));
    b.lesson(monday, 4, sidorovPhys, g2, a101);
    const qint64 before = contentRows();
    EXPECT_EQ(add(*choice).outcome, PlacementOutcome::Refused);
    EXPECT_EQ(contentRows(), before);
    EXPECT_EQ(messages(), QStringList({"Преподаватель занят на 4 уроке: П-2 (1), Физ, "
                                       "Сидоров\r\nЗанятие не поставлено"}));
}

// The other lesson of a pair gets the checks of the chosen one: its tutor must be free there,
// its lessons go only after a question that names them, and its auditorium is asked about.
TEST_F(Placement, APairChecksItsOtherLesson)
{
    const auto pair = [&](std::vector<Answer> answers) {
        prompts.shown.clear();
        prompts.answers = {answers.begin(), answers.end()};
        std::optional<PlacementChoice> choice = openGroup(3);
        EXPECT_TRUE(choice && choice->check(ivanovG1, prompts));
        return choice ? add(*choice, true).outcome : PlacementOutcome::Failed;
    };
    // Иванов teaches П-2 at lesson 4: no pair.
    const int busy = b.lesson(monday, 4, ivanovMath, g2, a202);
    EXPECT_EQ(pair({}), PlacementOutcome::Refused);
    EXPECT_EQ(messages(), QStringList({"Парное занятие невозможно: на 4 уроке преподаватель "
                                       "Иванов ведёт занятие: П-2 (1), Матем, Иванов"}));
    b.raw(QString("DELETE FROM tblTimeTableContent WHERE Key = %1").arg(busy));

    // П-1 has physics at lesson 4, and Сидоров holds 101 there.
    b.lesson(monday, 4, petrovPhys, g1, a202);
    b.lesson(monday, 4, sidorovPhys, g2, a101);
    const QStringList before = placed(g1, monday);
    EXPECT_EQ(pair({Answer::No}), PlacementOutcome::Refused);
    EXPECT_EQ(prompts.texts(Kind::YesNo),
              QStringList({"На 4 уроке у группы П-1 (курс 1) уже есть занятия:\r\nФиз, "
                           "Петров\r\n\r\nЗаменить их парным занятием?"}));
    EXPECT_EQ(pair({Answer::Yes, Answer::Cancel}), PlacementOutcome::Refused);
    EXPECT_EQ(prompts.texts(Kind::OkCancel).value(0).section("\r\n", 0, 0),
              "Аудитория '101 (Главный)' занята на 4 уроке");
    EXPECT_EQ(placed(g1, monday), before);
    EXPECT_EQ(pair({Answer::Yes, Answer::Ok}), PlacementOutcome::Written);
    EXPECT_EQ(placed(g1, monday), QStringList({"3|0|П-1|101|1", "4|0|П-1|101|1"}));
}

// Two subgroups of different tutors in one auditorium ask the occupied-auditorium question.
TEST_F(Placement, OneAuditoriumForTwoSubgroupsIsAskedAbout)
{
    std::optional<PlacementChoice> choice = openGroup(2);
    ASSERT_TRUE(choice && choice->check(ivanovG1, prompts) && choice->check(petrovG1, prompts));
    choice->typeAuditorium(2, "101 (Главный)");
    prompts.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_EQ(add(*choice).outcome, PlacementOutcome::Refused);
    EXPECT_TRUE(placed(g1, monday).isEmpty());
    EXPECT_EQ(add(*choice).outcome, PlacementOutcome::Written);
    EXPECT_EQ(prompts.texts(Kind::OkCancel).value(0).section("\r\n", 0, 0),
              "Аудитория '101 (Главный)' выбрана для подгрупп 1 и 2 с разными преподавателями");
    EXPECT_EQ(placed(g1, monday), QStringList({"2|1|П-1|101|1", "2|2|П-1|101|1"}));
}

TEST_F(Placement, ProtectedDateAndOccupiedAuditorium)
{
    b.day(monday.addDays(2), true);
    EXPECT_FALSE(placement.openForGroup(monday.addDays(2), 1, "П-1", "1", ""));
    EXPECT_EQ(placement.statusText(), "Дата заблокирована для редактирования");
    EXPECT_FALSE(openGroup(0));
    EXPECT_FALSE(openGroup(1, "П-9"));
    EXPECT_EQ(messages().size(), 3);

    b.lesson(monday, 1, sidorovPhys, g2, a101); // 101 is taken at lesson 1
    std::optional<PlacementChoice> choice = openGroup(1);
    ASSERT_TRUE(choice);
    EXPECT_TRUE(placement.statusText().isEmpty());
    ASSERT_EQ(choice->freeAuditoriums().size(), 1u);
    ASSERT_TRUE(choice->check(ivanovG1, prompts));
    prompts.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_EQ(add(*choice).outcome, PlacementOutcome::Refused);
    EXPECT_TRUE(placed(g1, monday).isEmpty());
    EXPECT_EQ(add(*choice).outcome, PlacementOutcome::Written);
    EXPECT_EQ(placed(g1, monday), QStringList({"1|0|П-1|101|1"}));
    EXPECT_TRUE(prompts.texts(Kind::OkCancel)
                    .first()
                    .startsWith("Аудитория '101 (Главный)' занята на данном на уроке\r\n"));
}

// With the protection of new dates on, the first lesson of a date locks it; an unlock
// without a password set asks nothing and opens it again.
TEST_F(Placement, NewDatesStartLockedUnderSaveCurrTable)
{
    settings.SaveCurrTable = true;
    store.writeBool("Settings", "SaveCurrTable", true);
    std::optional<PlacementChoice> choice = openGroup(1);
    ASSERT_TRUE(choice && choice->check(ivanovG1, prompts));
    ASSERT_EQ(add(*choice).outcome, PlacementOutcome::Written);
    EXPECT_FALSE(openGroup(2));
    EXPECT_EQ(placement.statusText(), "Дата заблокирована для редактирования");

    EXPECT_TRUE(DateLock(session, store, prompts).setLocked(monday, false));
    EXPECT_TRUE(prompts.texts(Kind::Text).isEmpty());
    EXPECT_TRUE(openGroup(2));
    EXPECT_EQ(b.rawNumber("SELECT count(*) FROM tblTimeTableList WHERE ReadOnly"), 0);
}

// A lock is no step of the history: undo never lifts it, and a step that would change the
// lessons of a date protected since is refused until the date is opened again.
TEST_F(Placement, TheLockStaysOutOfTheHistory)
{
    std::optional<PlacementChoice> choice = openGroup(1);
    ASSERT_TRUE(choice && choice->check(ivanovG1, prompts));
    ASSERT_EQ(add(*choice).outcome, PlacementOutcome::Written);
    History *history = History::of(*session.access());
    ASSERT_TRUE(history);
    const QStringList steps = history->undoCaptions();
    DateLock lock(session, store, prompts);
    ASSERT_TRUE(lock.setLocked(monday, true));
    EXPECT_EQ(history->undoCaptions(), steps);
    EXPECT_FALSE(lock.setLocked(monday, true)); // nothing to write
    EXPECT_EQ(messages().back(), "Дата 14.09.2026 уже заблокирована для редактирования");
    try {
        history->undo();
        ADD_FAILURE() << "undone on a protected date";
    } catch (const DbError &error) {
        EXPECT_EQ(error.message(), "Отменить «занятие «Матем» на 14.09.2026, урок 1» невозможно: "
                                   "дата 14.09.2026 заблокирована для редактирования. Документ "
                                   "оставлен без изменений");
    }
    EXPECT_EQ(placed(g1, monday).size(), 1);
    ASSERT_TRUE(lock.setLocked(monday, false)); // no password is set
    history->undo();
    EXPECT_TRUE(placed(g1, monday).isEmpty());
    EXPECT_EQ(b.rawNumber("SELECT count(*) FROM tblTimeTableList"), 0);
}

// The auditorium change lists the cell's lessons with their auditoriums and writes only the
// auditorium of the lessons it changes.
TEST_F(Placement, AuditoriumChangeWritesOnlyTheChosenAuditoriums)
{
    b.lesson(monday, 2, ivanovMath, g1, a101, 1);
    b.lesson(monday, 2, petrovPhys, g1, a101, 2);
    b.lesson(monday, 2, sidorovPhys, g2, a202); // 202 is taken elsewhere
    AuditoriumChange change{session, settings, prompts};
    EXPECT_FALSE(change.openForGroup(monday, 3, "П-1", "1", "")); // an empty cell
    std::optional<PlacementChoice> choice = change.openForGroup(monday, 2, "П-1", "1", "");
    ASSERT_TRUE(choice);
    ASSERT_EQ(choice->lines.size(), 2u);
    EXPECT_EQ(choice->columns(choice->lines[1]),
              QStringList({"Физ", "Физика", "Петров", "101 (Главный)"}));
    EXPECT_EQ(choice->picks[2].auditorium, "101 (Главный)");
    ASSERT_EQ(choice->freeAuditoriums().size(), 1u); // 101, held by the cell itself

    settings.CheckAuditoria = true;
    choice->checkAuditoria = true;
    choice->typeAuditorium(2, "202 (Главный)");
    prompts.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_EQ(change.write(*choice).outcome, PlacementOutcome::Refused);
    EXPECT_EQ(change.write(*choice).outcome, PlacementOutcome::Written);
    EXPECT_EQ(placed(g1, monday), QStringList({"2|1|П-1|101|1", "2|2|П-1|202|1"}));

    b.day(monday.addDays(1), true);
    b.lesson(monday.addDays(1), 1, ivanovMath, g1, a101);
    EXPECT_FALSE(change.openForTutor(monday.addDays(1), 1, "Иванов"));
    EXPECT_EQ(messages().back(), "Дата заблокирована для редактирования");
}

// Another program changes the document between opening and "Добавить".
TEST_F(Placement, CellChangedByAnotherConnectionIsNotWritten)
{
    const int day = b.day(monday);
    b.lesson(monday, 2, ivanovMath, g1, a101);
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    const QString refusal = "Редактирование данной ячейки уже произведено другим "
                            "пользователем.\r\nВаш ввод занятия отменён";
    const struct
    {
        int lesson;
        QString change;
    } cases[] = {
        {1, QString("INSERT INTO tblTimeTableContent (Key_TTList, Lesson, Key_Job, Key_Group, "
                    "SubGroup, Key_Aud, Key_TypeLesson) VALUES (%1, 1, %2, %3, 0, %4, 2)")
                .arg(day)
                .arg(petrovPhys)
                .arg(g1)
                .arg(a202)},
        {2, QString("DELETE FROM tblTimeTableContent WHERE Lesson = 2")},
    };
    for (const auto &c : cases) {
        std::optional<PlacementChoice> choice = openGroup(c.lesson);
        ASSERT_TRUE(choice);
        ASSERT_TRUE(choice->check(ivanovG1, prompts));
        const QStringList before = placed(g1, monday);
        ASSERT_EQ(sqlite3_exec(other, c.change.toUtf8().constData(), nullptr, nullptr, nullptr),
                  SQLITE_OK);
        const QStringList changed = placed(g1, monday);
        EXPECT_NE(before, changed);
        EXPECT_EQ(add(*choice).outcome, PlacementOutcome::Dropped);
        EXPECT_EQ(placed(g1, monday), changed);
    }
    sqlite3_close(other);
    EXPECT_EQ(messages(), QStringList({refusal, refusal}));
}

// The engine refuses the second row of a pair: the cell keeps what it held.
TEST_F(Placement, FailedWriteLeavesTheDocumentAsItWas)
{
    b.lesson(monday, 3, petrovPhys, g1, a202);
    b.raw("CREATE TRIGGER refuse BEFORE INSERT ON tblTimeTableContent WHEN NEW.Lesson = 4 "
          "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    const QStringList before = placed(g1, monday);
    std::optional<PlacementChoice> choice = openGroup(3);
    ASSERT_TRUE(choice);
    ASSERT_TRUE(choice->check(ivanovG1, prompts));
    EXPECT_EQ(add(*choice, true).outcome, PlacementOutcome::Failed);
    EXPECT_EQ(placed(g1, monday), before);
    EXPECT_EQ(messages().size(), 1);
}

// The type written is the chosen type's key, also when the list has gaps.
TEST_F(Placement, LessonTypesAreCarriedByKey)
{
    b.raw("DELETE FROM tblTypeLesson WHERE Key < 3");
    std::optional<PlacementChoice> choice = openGroup(1);
    ASSERT_TRUE(choice);
    ASSERT_EQ(choice->lessonTypes.size(), 2u);
    EXPECT_EQ(choice->lessonTypes[1].key, 4);
    EXPECT_EQ(choice->lessonTypes[1].text, "(Сем) - Семинар");
    ASSERT_TRUE(choice->check(ivanovG1, prompts));
    EXPECT_EQ(add(*choice, false, 1).outcome, PlacementOutcome::Refused);
    EXPECT_EQ(add(*choice, false, 4).outcome, PlacementOutcome::Written);
    EXPECT_EQ(placed(g1, monday), QStringList({"1|0|П-1|101|4"}));
    b.raw("DELETE FROM tblTypeLesson");
    EXPECT_FALSE(openGroup(2));
    EXPECT_EQ(messages(), QStringList({"Выберите тип занятия", "Не задан список типов занятий"}));
}

} // namespace
} // namespace korvesta
