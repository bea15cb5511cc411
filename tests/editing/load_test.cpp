// The teaching load edited from the entry row and the outline rows, checked in the document.

#include "editingfixture.h"

#include "editing/loadeditor.h"

#include <functional>

namespace korvesta {
namespace {

using Kind = ScriptedPrompts::Kind;
using Answer = Prompts::Answer;

class LoadEdit : public EditingTest
{
protected:
    QStringList snapshot() const
    {
        return rows("SELECT * FROM tblTutors ORDER BY Key")
               + rows("SELECT * FROM tblJob ORDER BY Key")
               + rows("SELECT * FROM tblJobList ORDER BY Key")
               + rows("SELECT count(*) FROM tblTutorOut");
    }
    // Every text shown, messages and questions, in order.
    QStringList shownTexts() const
    {
        QStringList texts;
        for (const auto &one : prompts.shown)
            texts << one.text;
        return texts;
    }
    // The load as "tutor|discipline|group (course)|hours", in order.
    QStringList load(const QString &tutor) const
    {
        return rows(QString("SELECT d.Discipline, g.\"Group\" || ' (' || g.Course || ')', l.Hours "
                            "FROM tblJobList l JOIN tblJob j ON j.Key = l.Key_Job "
                            "JOIN tblTutors t ON t.Key = j.Key_Tutor "
                            "JOIN tblDisciplines d ON d.Key = j.Key_Discipline "
                            "JOIN tblGroups g ON g.Key = l.Key_Group WHERE t.Tutor = '%1' "
                            "ORDER BY d.Discipline, g.Course, g.\"Group\"")
                        .arg(QString(tutor).replace("'", "''")));
    }
    // What may never be: a job without a tutor or without a line, a line twice, a line or job
    // pointing at nothing.
    void expectConsistent(const char *when) const
    {
        EXPECT_EQ(danglingRows(), 0) << when;
        EXPECT_EQ(
            count("SELECT count(*) FROM tblJob WHERE Key_Tutor NOT IN "
                  "(SELECT Key FROM tblTutors) OR Key NOT IN (SELECT Key_Job FROM tblJobList)"),
            0)
            << when;
        EXPECT_EQ(count("SELECT count(*) FROM (SELECT 1 FROM tblJobList GROUP BY Key_Job, "
                        "Key_Group HAVING count(*) > 1)"),
                  0)
            << when;
        EXPECT_EQ(count("SELECT count(*) FROM (SELECT 1 FROM tblJob GROUP BY Key_Tutor, "
                        "Key_Discipline HAVING count(*) > 1)"),
                  0)
            << when;
    }

    LoadEditor loadEditor{session, prompts};
};

LoadEntry entry(QString tutor, QString aud, QString discipline, QString group, QString hours)
{
    return {tutor, aud, discipline, group, hours};
}

struct Refusal
{
    const char *name;
    std::function<bool(LoadEditor &)> change;
    QStringList shown; // every message and question, in order
    std::vector<Answer> answers = {};
};

const QString kNotWhole =
    "Введите действительное, натуральное, целое, положительное число!\r\nПожалуйста!";

bool hours(LoadEditor &e, const char *text)
{
    return e.changeHours(entry("Иванов И.И.", "", "Матем", "П-9  (1)", text));
}

const Refusal kRefusals[] = {
    {"hours 0", [](LoadEditor &e) { return hours(e, "0"); }, {"Нагрузка не задана"}},
    {"hours empty", [](LoadEditor &e) { return hours(e, ""); }, {"Нагрузка не задана"}},
    {"hours of letters", [](LoadEditor &e) { return hours(e, "abc"); }, {"Нагрузка не задана"}},
    {"hours then letters", [](LoadEditor &e) { return hours(e, "12abc"); }, {kNotWhole}},
    {"negative hours", [](LoadEditor &e) { return hours(e, "-3"); }, {kNotWhole}},
    {"fraction of hours", [](LoadEditor &e) { return hours(e, "2.5"); }, {kNotWhole}},
    {"too many hours",
     [](LoadEditor &e) { return hours(e, "99999999999"); },
     {"Нагрузка не может превышать 99 999 часов"}},
    {"hours of a line not in the load",
     [](LoadEditor &e) { return e.changeHours(entry("О'Нил", "", "Физ", "П-10  (1)", "5")); },
     {"Группа П-10  (1) отсутствует в нагрузке преподавателя 'О'Нил'\r\nпо дисциплине 'Физ'"}},
    {"new tutor without hours",
     [](LoadEditor &e) { return e.addTutor(entry("Козлов", "", "Матем", "П-9  (1)", " ")); },
     {"Поле 'Нагрузка' должно быть заполнено"}},
    {"new tutor without discipline",
     [](LoadEditor &e) { return e.addTutor(entry("Козлов", "", "", "П-9  (1)", "")); },
     {"Поле 'Дисциплина' должно быть заполнено"}},
    {"new tutor, name in other case",
     [](LoadEditor &e) {
         return e.addTutor(entry(" иванов и.и. ", "", "Матем", "Э-31  (3)", "4"));
     },
     {"Преподаватель 'иванов и.и.'\r\nуже существует в списке."}},
    {"new tutor with apostrophe, other case",
     [](LoadEditor &e) { return e.addTutor(entry("о'нил", "", "Матем", "Э-31  (3)", "4")); },
     {"Преподаватель 'о'нил'\r\nуже существует в списке."}},
    {"new tutor with bad hours",
     [](LoadEditor &e) { return e.addTutor(entry("Козлов", "", "Матем", "Э-31  (3)", "12abc")); },
     {kNotWhole}},
    {"new tutor, unknown auditorium",
     [](LoadEditor &e) { return e.addTutor(entry("Козлов", "999", "Матем", "Э-31  (3)", "4")); },
     {"Аудитория '999' отсутствует в списке аудиторий"}},
    {"new tutor not confirmed",
     [](LoadEditor &e) { return e.addTutor(entry("Козлов", "101", "Матем", "Э-31  (3)", "4")); },
     {"Добавляется запись:\r\n\r\nПреподаватель \tКозлов\r\nАудитория \t101\r\n"
      "Дисциплина \tМатем\r\nГруппа \t\tЭ-31  (3)\r\nНагрузка \t4 часов\r\n\r\nПродолжить?"},
     {Answer::No}},
    {"discipline and group already in the load",
     [](LoadEditor &e) {
         return e.addDiscipline(entry("Иванов И.И.", "", "Матем", "П-9  (1)", "4"));
     },
     {"Нагрузка \r\nпо преподавателю\tИванов И.И.\r\nпо дисциплине\t\tМатем\r\n"
      "по группе\t\tП-9  (1)\r\nуже составлена!"}},
    {"group already in the load",
     [](LoadEditor &e) {
         return e.addGroup(entry("Петров П.П.", "", "Физ", "Д'Артаньян  (2)", "4"));
     },
     {"Нагрузка \r\nпо преподавателю\tПетров П.П.\r\nпо дисциплине\t\tФиз\r\n"
      "по группе\t\tД'Артаньян  (2)\r\nуже составлена!"}},
    {"unknown discipline",
     [](LoadEditor &e) { return e.addDiscipline(entry("Сидоров", "", "Хим", "П-9  (1)", "4")); },
     {"Дисциплина 'Хим' отсутствует в списке дисциплин"}},
    {"unknown group",
     [](LoadEditor &e) { return e.addDiscipline(entry("Сидоров", "", "Физ", "П-99  (1)", "4")); },
     {"Группа П-99  (1) отсутствует в списке групп"}},
    {"group for a discipline the tutor does not teach",
     [](LoadEditor &e) { return e.addGroup(entry("О'Нил", "", "Матем", "П-9  (1)", "4")); },
     {"Дисциплина 'Матем' отсутствует в нагрузке преподавателя 'О'Нил'"}},
    {"discipline for an unknown tutor",
     [](LoadEditor &e) { return e.addDiscipline(entry("Никто", "", "Физ", "П-9  (1)", "4")); },
     {"Преподаватель 'Никто' отсутствует в списке преподавателей"}},
    {"group with lessons placed",
     [](LoadEditor &e) { return e.removeGroup("Иванов И.И.", "Матем", "П-9  (1)"); },
     {"Для группы  П-9 курс (1) уже составлена нагрузка на 3 занятий.\r\nУдаление невозможно"}},
    {"group with future lessons only",
     [](LoadEditor &e) { return e.removeGroup("Петров П.П.", "Физ", "П-10  (1)"); },
     {"Для группы  П-10 курс (1) уже составлена нагрузка на 1 занятий.\r\nУдаление невозможно"}},
    {"discipline with lessons placed",
     [](LoadEditor &e) { return e.removeDiscipline("Петров П.П.", "Физ"); },
     {"Для дисциплины  'Физ' уже составлена нагрузка на 2 занятий.\r\nУдаление невозможно"}},
    {"the group column's caption",
     [](LoadEditor &e) { return e.removeGroup("Иванов И.И.", "Матем", "Группа"); },
     {}},
    {"discipline not in the load",
     [](LoadEditor &e) { return e.removeDiscipline("Сидоров", "Физ"); },
     {"Дисциплина 'Физ' отсутствует в нагрузке преподавателя 'Сидоров'"}},
};

TEST_F(LoadEdit, RefusalsAreToldAndChangeNothing)
{
    const QStringList before = snapshot();
    for (const Refusal &r : kRefusals) {
        prompts.shown.clear();
        prompts.answers.assign(r.answers.begin(), r.answers.end());
        EXPECT_FALSE(r.change(loadEditor)) << r.name;
        EXPECT_EQ(shownTexts(), r.shown) << r.name;
        EXPECT_EQ(snapshot(), before) << r.name;
    }
}

TEST_F(LoadEdit, NewTutorWithLineThenDisciplineGroupAndHours)
{
    prompts.answers = {Answer::Yes};
    ASSERT_TRUE(loadEditor.addTutor(entry(" Д'Арк Ж. ", "лаб (хим)", "Физ", "Э-31  (3)", "36")));
    EXPECT_EQ(rows("SELECT Tutor, DefaultAud FROM tblTutors WHERE Tutor LIKE 'Д''Арк%'"),
              QStringList{"Д'Арк Ж.|Лаб (хим) (Главный)"});
    EXPECT_EQ(load("Д'Арк Ж."), QStringList{"Физ|Э-31 (3)|36"});
    expectConsistent("new tutor");

    // A discipline, then a group for it; a group typed with one blank, and a faculty picking
    // one of two groups of the same name and course.
    EXPECT_TRUE(loadEditor.addDiscipline(entry("Д'Арк Ж.", "", "Матем", "П-9 (1)", "1 200")));
    EXPECT_TRUE(loadEditor.addGroup(entry("д'арк ж.", "", "Матем", "ИС-21  (2) ФЭМ", "8")));
    EXPECT_TRUE(loadEditor.changeHours(entry("Д'Арк Ж.", "", "Физ", "Э-31  (3)", "007")));
    EXPECT_EQ(load("Д'Арк Ж."),
              (QStringList{"Матем|П-9 (1)|1200", "Матем|ИС-21 (2)|8", "Физ|Э-31 (3)|7"}));
    EXPECT_EQ(count(QString("SELECT Key_Group FROM tblJobList WHERE Hours = 8")), s.isFem);
    // Hours are changed on the line named only.
    EXPECT_TRUE(loadEditor.changeHours(entry("Иванов И.И.", "", "Матем", "ИС-21  (2) ФИТ", "3")));
    EXPECT_EQ(rows(QString("SELECT Key_Group, Hours FROM tblJobList WHERE Key_Job = %1 AND "
                           "Key_Group IN (%2, %3) ORDER BY Key_Group")
                       .arg(s.ivanovMath)
                       .arg(s.isFit)
                       .arg(s.isFem)),
              (QStringList{QString("%1|3").arg(s.isFit), QString("%1|10").arg(s.isFem)}));
    EXPECT_EQ(prompts.texts(Kind::Message), QStringList());
    expectConsistent("additions");
}

TEST_F(LoadEdit, RemovalsTidyEmptyJobsAndTutors)
{
    // Сидоров gets two disciplines, one of them for two groups, and an exception.
    ASSERT_TRUE(loadEditor.addDiscipline(entry("Сидоров", "", "Матем", "П-9  (1)", "10")));
    ASSERT_TRUE(loadEditor.addGroup(entry("Сидоров", "", "Матем", "Э-31  (3)", "12")));
    ASSERT_TRUE(loadEditor.addDiscipline(entry("Сидоров", "", "Физ", "Э-31  (3)", "14")));
    b.add("tblTutorOut", {"KeyTutor", s.sidorov, "FreeDay", 2, "KeyTypeOut", 1});

    // No keeps the line.
    prompts.answers = {Answer::No};
    EXPECT_FALSE(loadEditor.removeGroup("Сидоров", "Матем", "П-9  (1)"));
    EXPECT_EQ(load("Сидоров").size(), 3);

    prompts.shown.clear();
    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(loadEditor.removeGroup("Сидоров", "Матем", "П-9  (1)"));
    EXPECT_EQ(shownTexts(), QStringList{"Удалить группу П-9 курс (1)\r\nиз нагрузки "
                                        "преподавателя 'Сидоров'\r\nпо дисциплине 'Матем'?"});
    EXPECT_EQ(load("Сидоров"), (QStringList{"Матем|Э-31 (3)|12", "Физ|Э-31 (3)|14"}));
    expectConsistent("a group of two");

    // The last group of a discipline takes its job; the tutor keeps his other one.
    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(loadEditor.removeGroup("Сидоров", "Матем", "Э-31  (3)"));
    EXPECT_EQ(load("Сидоров"), QStringList{"Физ|Э-31 (3)|14"});
    EXPECT_EQ(count(QString("SELECT count(*) FROM tblJob WHERE Key_Tutor = %1").arg(s.sidorov)), 1);
    expectConsistent("the last group of a discipline");

    // The last group of the only discipline takes the tutor and his exceptions.
    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(loadEditor.removeGroup("Сидоров", "Физ", "Э-31  (3)"));
    EXPECT_EQ(count(QString("SELECT count(*) FROM tblTutors WHERE Key = %1").arg(s.sidorov)), 0);
    EXPECT_EQ(count(QString("SELECT count(*) FROM tblTutorOut WHERE KeyTutor = %1").arg(s.sidorov)),
              0);
    expectConsistent("the last group of the tutor");

    // A discipline goes with its groups; the tutor with his last discipline.
    prompts.answers = {Answer::Yes};
    ASSERT_TRUE(loadEditor.addTutor(entry("Козлов", "", "Матем", "П-9  (1)", "4")));
    ASSERT_TRUE(loadEditor.addGroup(entry("Козлов", "", "Матем", "П-10  (1)", "4")));
    ASSERT_TRUE(loadEditor.addDiscipline(entry("Козлов", "", "Физ", "П-10  (1)", "4")));
    prompts.shown.clear();
    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(loadEditor.removeDiscipline("Козлов", "Матем"));
    EXPECT_EQ(shownTexts(),
              QStringList{"Удалить дисциплину 'Матем'\r\nиз нагрузки преподавателя 'Козлов'?"});
    EXPECT_EQ(load("Козлов"), QStringList{"Физ|П-10 (1)|4"});
    expectConsistent("a discipline of two");
    prompts.answers = {Answer::No};
    EXPECT_FALSE(loadEditor.removeDiscipline("Козлов", "Физ"));
    prompts.answers = {Answer::Yes};
    EXPECT_TRUE(loadEditor.removeDiscipline("Козлов", "Физ"));
    EXPECT_EQ(count("SELECT count(*) FROM tblTutors WHERE Tutor = 'Козлов'"), 0);
    expectConsistent("the last discipline");
    EXPECT_TRUE(prompts.exhausted());
}

// A failure halfway through a change leaves nothing of it behind.
TEST_F(LoadEdit, AFailedWriteLeavesTheDocumentAsItWas)
{
    const QStringList before = snapshot();
    // The line cannot be written: the tutor and job made for it go too.
    b.raw(
        "CREATE TRIGGER refuse BEFORE INSERT ON tblJobList BEGIN SELECT RAISE(ABORT, 'нет'); END");
    prompts.answers = {Answer::Yes};
    EXPECT_FALSE(loadEditor.addTutor(entry("Козлов", "", "Матем", "П-9  (1)", "4")));
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(prompts.texts(Kind::Message).isEmpty()); // the failure was told
}

} // namespace
} // namespace korvesta
