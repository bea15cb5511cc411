// The teaching load view on documents built in code: the whole grid with its totals against
// sums taken from the tables, hours per week, the auditorium of a tutor's total, outline
// levels, merging, collapsing, and the rows each entry of the filter menu leaves.

#include "support/viewfixture.h"
#include "views/frames/entryarea.h"
#include "views/load/loadfilter.h"
#include "views/load/loadview.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

using namespace loadview;

class LoadView : public ViewTest
{
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        registerLoadFills(registry);
        grid.setClientWidth(10000);
        s = SampleInstitution::build(b);
    }

    // Four working weeks: five weeks of study with one rest week.
    void fourWeeks()
    {
        b.period("Session", QDate(2024, 9, 2), QDate(2024, 10, 6));
        b.period("Rest", QDate(2024, 9, 16), QDate(2024, 9, 22));
    }
    void show(const QString &filter = QString())
    {
        ctx.filter = filter;
        registry.find(30)->fill(ctx);
    }
    QString row(int r) const
    {
        QStringList cells;
        for (int col = TutorCol; col <= WeekCol; ++col)
            cells << grid.text(r, col);
        return cells.join(u'|');
    }
    QStringList body() const
    {
        QStringList out;
        for (int r = grid.fixedRows(); r < grid.rows(); ++r)
            out << row(r);
        return out;
    }
    // The load lines shown, as tutor and group.
    QStringList lines() const
    {
        QStringList out;
        for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
            if (!grid.isSubtotal(r))
                out << grid.text(r, TutorCol) + "|" + grid.text(r, GroupCol);
        }
        return out;
    }

    SampleInstitution s;
};

TEST_F(LoadView, OutlineOfTutorsAndDisciplinesWithTheirTotals)
{
    fourWeeks();
    show();
    // 10 hours over 4 weeks are 3 a week; a tutor without a usual auditorium shows "-".
    EXPECT_EQ(body(), (QStringList{
                          "Иванов И.И.|101 (Главный)|Матем|П-9  (1)|40|10",
                          "Иванов И.И.|101 (Главный)|Матем|П-10  (1)|30|8",
                          "Иванов И.И.|101 (Главный)|Матем|ИС-21  (2)|2|1",
                          "Иванов И.И.|101 (Главный)|Матем|ИС-21  (2)|10|3",
                          "||Нагрузка по дисциплине 'Матем'|Групп:   4|82|22",
                          "ИТОГО у преподавателя  'Иванов И.И.'|101 (Главный) |Дисциплин:   1 "
                          "|Групп:   4|82|22",
                          "О'Нил|202 (Второй)|Физ|П-9  (1)|10|3",
                          "||Нагрузка по дисциплине 'Физ'|Групп:   1|10|3",
                          "ИТОГО у преподавателя  'О'Нил'|202 (Второй) |Дисциплин:   1 "
                          "|Групп:   1|10|3",
                          "Петров П.П.||Матем|П-9  (1)|20|5",
                          "||Нагрузка по дисциплине 'Матем'|Групп:   1|20|5",
                          "Петров П.П.||Физ|П-10  (1)|10|3",
                          "Петров П.П.||Физ|Д'Артаньян  (2)|5|2",
                          "||Нагрузка по дисциплине 'Физ'|Групп:   2|15|5",
                          "ИТОГО у преподавателя  'Петров П.П.'|-|Дисциплин:   2 |Групп:   3|35|10",
                      }));
    EXPECT_TRUE(prompts.shown.empty());

    // Each tutor's total against the tables.
    for (const int tutor : {s.ivanov, s.oneil, s.petrov}) {
        const QString name =
            b.raw(QString("SELECT Tutor FROM tblTutors WHERE Key=%1").arg(tutor)).value(0);
        const QStringList sums = b.raw(
            QString("SELECT Sum(L.Hours), Count(*) FROM tblJobList L JOIN tblJob J ON "
                    "J.Key=L.Key_Job WHERE J.Key_Tutor=%1")
                .arg(tutor));
        const int total = grid.findRow("ИТОГО у преподавателя  '" + name + "'", TutorCol);
        ASSERT_GT(total, 0) << name.toStdString();
        EXPECT_EQ(grid.text(total, HoursCol) + "|" + grid.text(total, GroupCol),
                  sums.value(0).section('|', 0, 0) + "|Групп:   " + sums.value(0).section('|', 1))
            << name.toStdString();
    }

    // Levels the load editor reads; pictures; the totals' look.
    const int lastIvanov = 4, disciplineTotal = 5, tutorTotal = 6;
    EXPECT_EQ(grid.rowOutlineLevel(lastIvanov), LineLevel);
    EXPECT_EQ(grid.rowOutlineLevel(disciplineTotal), DisciplineLevel);
    EXPECT_EQ(grid.rowOutlineLevel(tutorTotal), TutorLevel);
    EXPECT_EQ(grid.cellPicture(lastIvanov, TutorCol), "TUTOR");
    EXPECT_EQ(grid.cellPicture(lastIvanov, DisciplineCol), "DISCIPLINE");
    EXPECT_EQ(grid.cellPicture(lastIvanov, GroupCol), "GROUP");
    EXPECT_EQ(grid.cellPicture(lastIvanov, HoursCol), "");
    for (const int r : {disciplineTotal, tutorTotal}) {
        EXPECT_EQ(grid.cellPicture(r, HoursCol), "TOTALS");
        EXPECT_EQ(grid.cellAlignment(r, HoursCol) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        EXPECT_TRUE(grid.cellBold(r, HoursCol));
        EXPECT_EQ(grid.cellBackColor(r, GroupCol), grid.backColorFixed());
        EXPECT_TRUE(grid.cellBorder(r, TutorCol).edges & Qt::BottomEdge);
    }
    EXPECT_NE(grid.cellBorder(disciplineTotal, TutorCol).color,
              grid.cellBorder(tutorTotal, TutorCol).color);
    EXPECT_TRUE(grid.outlineBar());

    // A tutor and his discipline merge down his lines, never into the next tutor's.
    EXPECT_EQ(grid.mergedRange(2, TutorCol), (CellRange{1, TutorCol, 4, TutorCol}));
    EXPECT_EQ(grid.mergedRange(2, DisciplineCol), (CellRange{1, DisciplineCol, 4, DisciplineCol}));
    EXPECT_EQ(grid.mergedRange(12, DisciplineCol),
              (CellRange{12, DisciplineCol, 13, DisciplineCol}));
    EXPECT_EQ(grid.mergedRange(10, TutorCol), (CellRange{10, TutorCol, 10, TutorCol}));
    EXPECT_EQ(grid.mergedRange(2, GroupCol), (CellRange{2, GroupCol, 2, GroupCol}));

    // Collapsed, only the tutors' totals stay; expanded, every row again.
    collapseOutline(grid, true);
    QStringList visible;
    for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
        if (!grid.isRowHidden(r))
            visible << grid.text(r, TutorCol);
    }
    EXPECT_EQ(visible, (QStringList{"ИТОГО у преподавателя  'Иванов И.И.'",
                                    "ИТОГО у преподавателя  'О'Нил'",
                                    "ИТОГО у преподавателя  'Петров П.П.'"}));
    collapseOutline(grid, false);
    for (int r = 0; r < grid.rows(); ++r)
        EXPECT_FALSE(grid.isRowHidden(r)) << r;
}

TEST_F(LoadView, SettingsAndWeeksChangeWhatTheRowsShow)
{
    // Without working weeks nothing is shown per week, not even in the totals.
    show();
    for (int r = grid.fixedRows(); r < grid.rows(); ++r)
        EXPECT_EQ(grid.text(r, WeekCol), "") << r;

    // Without totals: the lines alone, no outline, no total pictures; faculties on demand.
    record.ShowTotals = false;
    record.UseTypeFaculty = true;
    fourWeeks();
    show();
    EXPECT_EQ(grid.rows(), 1 + 8);
    EXPECT_FALSE(grid.outlineBar());
    EXPECT_EQ(grid.mergedRange(2, TutorCol), (CellRange{2, TutorCol, 2, TutorCol}));
    for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
        EXPECT_FALSE(grid.isSubtotal(r));
        EXPECT_EQ(grid.rowOutlineLevel(r), LineLevel);
        EXPECT_EQ(grid.cellPicture(r, HoursCol), "");
    }
    EXPECT_EQ(row(3), "Иванов И.И.|101 (Главный)|Матем|ИС-21  (2) ФИТ|2|1");
    EXPECT_EQ(row(1), "Иванов И.И.|101 (Главный)|Матем|П-9  (1) отсутствует|40|10");
    EXPECT_EQ(grid.currentRow(), 0);
    EXPECT_EQ(grid.currentCol(), 0);
}

TEST_F(LoadView, TotalsSetThousandsApart)
{
    const int tutor = b.add("tblTutors", {"Tutor", "Яковлев"});
    const int job = b.job(tutor, s.math);
    b.add("tblJobList", {"Key_Job", job, "Key_Group", s.p9, "Hours", 1200});
    b.add("tblJobList", {"Key_Job", job, "Key_Group", s.p10, "Hours", 34});
    show();
    EXPECT_EQ(row(grid.rows() - 2), "||Нагрузка по дисциплине 'Матем'|Групп:   2|1 234|");
    EXPECT_EQ(grid.text(grid.rows() - 1, HoursCol), "1 234");
    for (const auto &[hours, text] : std::vector<std::pair<double, QString>>{
             {0, "0"}, {999, "999"}, {1000, "1 000"}, {1234567, "1 234 567"}, {-1500, "-1 500"}})
        EXPECT_EQ(formatHours(hours), text) << hours;
}

TEST_F(LoadView, FilterEntriesNarrowTheRows)
{
    // A second specialization with a line whose hours are all left, and one with none set.
    const int prog = b.add("tblDiscType", {"Type", "Программирование", "Priory", 1});
    const int oop = b.add("tblDisciplines", {"Discipline", "ООП", "DiscType", prog});
    const int job = b.job(s.sidorov, oop);
    b.add("tblJobList", {"Key_Job", job, "Key_Group", s.noLoad, "Hours", 8});

    EXPECT_EQ(registry.find(30)->filterEntries(ctx),
              (QStringList{"-", "Бюджетые", "Внебюджетные", "-", "Очные", "Заочные", "Вечерние",
                           "Дистанционные", "-", "Курс 1", "Курс 2", "Курс 3", "-",
                           "отсутствует", "Программирование", "-", "Нагрузка выдана",
                           "Осталась нагрузка"}));

    const QString ivP9 = "Иванов И.И.|П-9  (1)", ivP10 = "Иванов И.И.|П-10  (1)",
                  ivFit = "Иванов И.И.|ИС-21  (2)", ivFem = ivFit, onP9 = "О'Нил|П-9  (1)",
                  peP9 = "Петров П.П.|П-9  (1)", peP10 = "Петров П.П.|П-10  (1)",
                  peArt = "Петров П.П.|Д'Артаньян  (2)", siE31 = "Сидоров|Э-31  (3)";
    const QStringList all{ivP9, ivP10, ivFit, ivFem, onP9, peP9, peP10, peArt, siE31};
    struct Case
    {
        const char *entry;
        QStringList lines;
    };
    // ИС-21 of ФИТ is the only Заочная and Внебюджетная group; Д'Артаньян, without types,
    // counts as Очная and Бюджетная. ИС-21 of ФИТ has its 2 hours placed.
    const Case cases[] = {
        {"Все", all},
        {"", all},
        {"Бюджетые", {ivP9, ivP10, ivFem, onP9, peP9, peP10, peArt, siE31}},
        {"Внебюджетные", {ivFit}},
        {"Очные", {ivP9, ivP10, ivFem, onP9, peP9, peP10, peArt, siE31}},
        {"Заочные", {ivFit}},
        {"Вечерние", {}},
        {"Дистанционные", {}},
        {"Курс 1", {ivP9, ivP10, onP9, peP9, peP10}},
        {"Курс 2", {ivFit, ivFem, peArt}},
        {"Курс 3", {siE31}},
        {"Курс 7", {}},
        {"отсутствует", {ivP9, ivP10, ivFit, ivFem, onP9, peP9, peP10, peArt}},
        {"Программирование", {siE31}},
        {"Нагрузка выдана", {ivFit}},
        {"Осталась нагрузка", {ivP9, ivP10, ivFem, onP9, peP9, peP10, peArt, siE31}},
    };
    for (const Case &c : cases) {
        show(QString::fromUtf8(c.entry));
        EXPECT_EQ(lines(), c.lines) << c.entry;
        EXPECT_TRUE(prompts.shown.empty()) << c.entry;
    }

    // Totals count what the filter leaves.
    show("Курс 2");
    EXPECT_EQ(body().filter("ИТОГО"),
              (QStringList{"ИТОГО у преподавателя  'Иванов И.И.'|101 (Главный) |Дисциплин:   1 "
                           "|Групп:   2|12|",
                           "ИТОГО у преподавателя  'Петров П.П.'|-|Дисциплин:   1 |Групп:   1|5|"}));
    // Which of the ИС-21 lines is which.
    EXPECT_EQ(grid.text(1, HoursCol) + "|" + grid.text(2, HoursCol), "2|10");
    show("Внебюджетные");
    EXPECT_EQ(grid.text(1, HoursCol), "2");
}

TEST(LoadFilterEntries, LookedUpInTheMenusOrder)
{
    // Specializations named like a fixed entry or a course never take their place.
    LoadFilterLists lists;
    lists.courses = {"1", "2"};
    lists.specializations = {"Очные", "Курс 2", "Курс 5", "Нагрузка выдана"};
    using Kind = LoadFilter::Kind;
    const struct
    {
        const char *entry;
        Kind kind;
    } cases[] = {
        {"", Kind::All},
        {"Все", Kind::All},
        {"Очные", Kind::Tuition},
        {"Бюджетые", Kind::Finance},
        {"Курс 2", Kind::Course},
        {"Курс 5", Kind::Specialization},
        {"Курс 9", Kind::Course},
        {"Нагрузка выдана", Kind::Given},
        {"Осталась нагрузка", Kind::Left},
        {"нет такой", Kind::Specialization},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LoadFilter::forEntry(QString::fromUtf8(c.entry), lists).kind(), c.kind)
            << c.entry;

    LoadLine line;
    line.course = "2";
    line.tuition = "очная"; // letter case as a user typed the type
    EXPECT_TRUE(LoadFilter::forEntry("Курс 2", lists).accepts(line));
    EXPECT_TRUE(LoadFilter::forEntry("Очные", lists).accepts(line));
    EXPECT_FALSE(LoadFilter::forEntry("Курс 9", lists).accepts(line));
}

} // namespace
} // namespace korvesta
