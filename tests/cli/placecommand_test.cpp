// The headless "place" subcommand as a planner's script runs it.

#include "data/database.h"
#include "data/institutionbuilder.h"
#include "cli/placecommand.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class PlaceCommand : public ::testing::Test
{
protected:
    void TearDown() override { Database::forgetAll(); }

    // Exit code; what was printed is kept in output and errors.
    int run(QStringList args)
    {
        output.clear();
        errors.clear();
        QTextStream out(&output), err(&errors);
        args.prepend(path);
        args << "--set"
             << "SubGroupCount=2"
             << "--set"
             << "CheckAuditoria=1"
             << "--set"
             << "LessonsToGroup=7"
             << "--set"
             << "CountGroupOnLecture=2"
             << "--set"
             << "LessonsInDay=14";
        return runPlaceCommand(args, out, err);
    }
    QStringList placed() const
    {
        return b.raw("SELECT d.Date, c.Lesson, c.SubGroup, g.\"Group\", a.Auditoria, "
                     "t.ShortTypeLesson FROM tblTimeTableContent c JOIN tblGroups g ON g.Key = "
                     "c.Key_Group JOIN tblTimeTableList d ON d.Key = c.Key_TTList JOIN "
                     "tblAuditories a ON a.Key = c.Key_Aud JOIN tblTypeLesson t ON t.Key = "
                     "c.Key_TypeLesson ORDER BY d.Date, c.Lesson, g.Key, c.SubGroup");
    }

    TestFolder folder;
    QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    int g1 = b.add("tblGroups", {"Group", "П-1", "Course", "1"});
    int g2 = b.add("tblGroups", {"Group", "П-2", "Course", "1"});
    int math = b.add("tblDisciplines", {"Discipline", "Матем", "Discipline1", "Математика"});
    int phys = b.add("tblDisciplines", {"Discipline", "Физ", "Discipline1", "Физика"});
    int a101 = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
    int a202 = b.add("tblAuditories", {"Auditoria", "202", "Corpus", "Главный"});
    int ivanov = b.add("tblTutors", {"Tutor", "Иванов", "DefaultAud", "101 (Главный)"});
    int petrov = b.add("tblTutors", {"Tutor", "Петров", "DefaultAud", "202 (Главный)"});
    int lines = [this] {
        for (int g : {g1, g2}) {
            b.add("tblJobList", {"Key_Job", b.job(ivanov, math), "Key_Group", g, "Hours", 40});
            b.add("tblJobList", {"Key_Job", b.job(petrov, phys), "Key_Group", g, "Hours", 40});
        }
        return 4;
    }();
    QString output, errors;
};

TEST_F(PlaceCommand, PlacesAsTheDialogWould)
{
    const QStringList day = {"--date", "14.09.2026", "--lesson"};
    EXPECT_EQ(run(day
                  + QStringList{"4", "--group", "П-1 (1)", "--discipline", "Матем", "--pair",
                                "--type", "Пр"}),
              0)
        << errors.toStdString();
    EXPECT_EQ(output.count('\n'), 2);
    EXPECT_EQ(run(day
                  + QStringList{"1", "--group", "П-1 (1)", "--discipline", "Матем", "--discipline",
                                "физика"}),
              0);
    EXPECT_EQ(run(day
                  + QStringList{"2", "--tutor", "Петров", "--discipline", "Физ", "--group",
                                "п-1", "--group", "П-2  (1)", "--aud", "101"}),
              0);
    EXPECT_EQ(
        run(day + QStringList{"5", "--group", "П-2 (1)", "--subgroup", "2", "--discipline", "Физ"}),
        0);
    EXPECT_EQ(placed(), QStringList({"2026-09-14|1|1|П-1|101|Лек", "2026-09-14|1|2|П-1|202|Лек",
                                     "2026-09-14|2|0|П-1|101|Лек", "2026-09-14|2|0|П-2|101|Лек",
                                     "2026-09-14|3|0|П-1|101|Пр", "2026-09-14|4|0|П-1|101|Пр",
                                     "2026-09-14|5|2|П-2|202|Лек"}));
}

TEST_F(PlaceCommand, RefusalsWriteNothing)
{
    b.day(QDate(2026, 9, 15), true);
    b.period("Session", QDate(2026, 9, 1), QDate(2027, 6, 30));
    b.period("Selebrate", QDate(2026, 11, 4), QDate());
    b.add("tblGroups", {"Group", "П-3", "Course", "1"}); // no load
    b.add("tblGroups", {"Group", "П-3", "Course", "2"});
    const struct
    {
        QStringList args;
        int code;
        QString error;
    } cases[] = {
        {{"--date", "15.09.2026", "--lesson", "1", "--group", "П-1 (1)", "--discipline", "Матем"},
         1,
         "Дата заблокирована для редактирования"},
        {{"--date", "2026-09-14", "--lesson", "0", "--group", "П-1 (1)", "--discipline", "Матем"},
         1,
         "Номер урока должен быть от 1 до 14"},
        {{"--date", "14.09.2026", "--lesson", "1", "--group", "П-1 (1)", "--discipline", "Хим"},
         1,
         "В нагрузке группы нет дисциплины «Хим»"},
        {{"--date", "14.09.2026", "--lesson", "1", "--group", "П-1 (1)", "--discipline", "Матем",
          "--subgroup", "3"},
         1,
         "Номер подгруппы должен быть от 1 до 2"},
        {{"--date", "14.09.2026", "--lesson", "1", "--group", "П-1 (1)", "--discipline", "Матем",
          "--aud", "909 (Главный)"},
         1,
         "--aud: Нет аудитории «909 (Главный)»"},
        {{"--date", "14.09.2026", "--lesson", "1", "--group", "П-1 (1)", "--discipline", "Матем",
          "--type", "Зачёт"},
         1,
         "Нет типа занятия «Зачёт»"},
        {{"--date", "04.11.2026", "--lesson", "1", "--group", "П-1 (1)", "--discipline", "Матем"},
         1,
         "Дата 04.11.2026 приходится на каникулы или праздник"},
        {{"--date", "14.09.2027", "--lesson", "1", "--group", "П-1 (1)", "--discipline", "Матем"},
         1,
         "Дата 14.09.2027 вне учебного периода 01.09.2026 - 30.06.2027"},
        {{"--date", "19.09.2026", "--lesson", "1", "--tutor", "Иванов", "--discipline", "Матем",
          "--group", "П-1 (1)"},
         1,
         "Выбран выходной день"},
        {{"--date", "14.09.2026", "--lesson", "1", "--group", "п-3  (1)", "--discipline", "Матем"},
         1,
         "Нет доступных преподавателей"},
        {{"--date", "14.09.2026", "--lesson", "1", "--group", "П-3", "--discipline", "Матем"},
         2,
         "--group: «П-3» подходит нескольким группам: П-3 (1), П-3 (2) - укажите точнее"},
        {{"--lesson", "1", "--group", "П-1 (1)", "--discipline", "Матем"},
         2,
         "Не указана дата (--date)"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(run(c.args), c.code) << c.error.toStdString();
        EXPECT_TRUE(errors.startsWith(c.error)) << errors.toStdString();
    }
    EXPECT_TRUE(placed().isEmpty());
}

TEST_F(PlaceCommand, OccupiedAuditoriumNeedsYes)
{
    const QStringList first = {"--date",  "14.09.2026", "--lesson",     "1",
                               "--group", "П-1 (1)",    "--discipline", "Матем"};
    ASSERT_EQ(run(first), 0);
    const QStringList second = {"--date",  "14.09.2026",   "--lesson", "1",     "--group",
                                "П-2 (1)", "--discipline", "Физ",      "--aud", "101 (Главный)"};
    EXPECT_EQ(run(second), 1);
    EXPECT_TRUE(errors.contains("занята на данном на уроке"));
    EXPECT_EQ(placed().size(), 1);
    // A trial counts the rows and leaves the document as it was.
    EXPECT_EQ(run(second + QStringList{"--yes", "--dry-run"}), 0);
    EXPECT_TRUE(output.contains("tblTimeTableContent\t1\t0\t0")) << output.toStdString();
    EXPECT_EQ(placed().size(), 1);
    EXPECT_EQ(run(second + QStringList{"--yes"}), 0);
    EXPECT_EQ(placed().size(), 2);
}

} // namespace
} // namespace korvesta
