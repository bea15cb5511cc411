// The reference list views and the frame builders on documents built in code: rows, totals
// and their labels, colours, the group passport against counts taken from the tables, object
// lists; frame shapes and widths, the entry area, collapsing, the busy-time month and legend.

#include "support/viewfixture.h"
#include "views/frames/accountingframes.h"
#include "views/frames/busytimeframe.h"
#include "views/frames/entryarea.h"
#include "views/frames/listframes.h"
#include "views/lists/listfills.h"

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class RefLists : public ViewTest
{
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        registerReferenceListFills(registry);
        grid.setClientWidth(10000);
    }

    void show(int code)
    {
        ctx.viewCode = code;
        registry.find(code)->fill(ctx);
    }
    // Columns `from`..`to` of every body row, cells joined by '|'.
    QStringList body(int from, int to) const
    {
        QStringList out;
        for (int row = grid.fixedRows(); row < grid.rows(); ++row) {
            QStringList cells;
            for (int col = from; col <= to; ++col)
                cells << grid.text(row, col);
            out << cells.join(u'|');
        }
        return out;
    }
    std::vector<int> widths() const
    {
        std::vector<int> out;
        for (int col = 0; col < grid.cols(); ++col)
            out.push_back(grid.colWidth(col));
        return out;
    }
    int visibleRows() const
    {
        int count = 0;
        for (int row = 0; row < grid.rows(); ++row)
            count += grid.isRowHidden(row) ? 0 : 1;
        return count;
    }
    int subtotalRows() const
    {
        int count = 0;
        for (int row = 0; row < grid.rows(); ++row)
            count += grid.isSubtotal(row) ? 1 : 0;
        return count;
    }
};

TEST_F(RefLists, GroupListOrdersCoursesAndLabelsTotals)
{
    SampleInstitution::build(b);
    show(0);
    EXPECT_EQ(body(1, 2), (QStringList{
                              "1|П-9",
                              "1|П-10",
                              "Итого на курсе:  1|групп:  2",
                              "2|ИС-21",
                              "2|ИС-21",
                              "2|Д'Артаньян",
                              "Итого на курсе:  2|групп:  3",
                              "3|Э-31",
                              "Итого на курсе:  3|групп:  1",
                              "Всего курсов: 3|Всего групп: 6",
                          }));
    EXPECT_EQ(grid.cellAlignment(3, 2), Qt::AlignCenter);
    EXPECT_EQ(grid.cellBackColor(3, 1), grid.backColorFixed());
    EXPECT_EQ(grid.cellBackColor(grid.rows() - 1, 2), grid.backColorFixed());
    EXPECT_TRUE(grid.outlineBar());
    // Types as the list shows them, a group without type keys as the defaults.
    EXPECT_EQ(grid.text(4, 4) + "|" + grid.text(4, 5) + "|" + grid.text(4, 6),
              "ФИТ|Заочная|Внебюджетная");
    EXPECT_EQ(grid.text(6, 4) + "|" + grid.text(6, 5), "отсутствует|Очная");
}

TEST_F(RefLists, DisciplineAndAuditoriumTotals)
{
    SampleInstitution::build(b);
    const int prog = b.add("tblDiscType", {"Type", "Программирование", "Priory", 1});
    b.add("tblDisciplines", {"Discipline", "ООП", "Discipline1", "Объектное программирование",
                             "DiscType", prog, "LevelDiff", 2});
    show(10);
    EXPECT_EQ(body(1, 3), (QStringList{
                              "отсутствует|Матем|Математика",
                              "отсутствует|Физ|Физика 'общая'",
                              "отсутствует||2",
                              "Программирование|ООП|Объектное программирование",
                              "Программирование||1",
                              "Всего дисциплин:||3",
                          }));
    EXPECT_EQ(grid.cellAlignment(3, 3), Qt::AlignCenter);

    show(20);
    EXPECT_EQ(body(1, 2), (QStringList{
                              "Второй|202",
                              "Итого в корпусе:  Второй|аудиторий:  1",
                              "Главный|101",
                              "Главный|Лаб (хим)",
                              "Итого в корпусе:  Главный|аудиторий:  2",
                              "Всего зданий: 2|Всего аудиторий: 3",
                          }));
}

TEST_F(RefLists, EmptyDocumentShowsZeroTotals)
{
    struct Case
    {
        int code;
        int from, to;
        const char *last;
    } cases[] = {
        {0, 1, 2, "Всего курсов: 0|Всего групп: 0"},
        {10, 1, 3, "Всего дисциплин:||0"},
        {20, 1, 2, "Всего зданий: 0|Всего аудиторий: 0"},
    };
    for (const Case &c : cases) {
        show(c.code);
        EXPECT_EQ(body(c.from, c.to), QStringList{c.last}) << c.code;
        EXPECT_EQ(subtotalRows(), 0) << c.code;
    }
}

TEST_F(RefLists, WithoutTotalsOnlyRecordsShow)
{
    SampleInstitution::build(b);
    record.ShowTotals = false;
    for (const auto &[code, records] : {std::pair{0, 6}, {10, 2}, {20, 3}}) {
        show(code);
        EXPECT_EQ(grid.rows(), 1 + records) << code;
        EXPECT_EQ(subtotalRows(), 0) << code;
        EXPECT_FALSE(grid.outlineBar()) << code;
    }
}

TEST_F(RefLists, ColoursAndDifficultyOfRecords)
{
    const SampleInstitution s = SampleInstitution::build(b);
    b.raw(QString("UPDATE tblGroups SET GroupColor = %1 WHERE Key = %2").arg(0xFF).arg(s.p9));
    b.raw(QString("UPDATE tblDisciplines SET LevelDiff = 2, DiscColor = %1 WHERE Key = %2")
              .arg(0xFF0000)
              .arg(s.math));
    b.raw(QString("UPDATE tblDisciplines SET LevelDiff = 7 WHERE Key = %1").arg(s.physics));
    show(0);
    ASSERT_EQ(grid.text(1, 2), "П-9");
    EXPECT_EQ(grid.cellBackColor(1, 3), QColor(255, 0, 0));
    EXPECT_FALSE(grid.hasOwnBackColor(2, 3)); // П-10 has no colour
    EXPECT_EQ(grid.cellBackColor(2, 3), grid.backColor());

    show(10);
    EXPECT_EQ(body(4, 5).mid(0, 2), (QStringList{"|Трудный", "|"}));
    EXPECT_EQ(grid.cellBackColor(1, 4), QColor(0, 0, 255));
    EXPECT_FALSE(grid.hasOwnBackColor(2, 4));
}

TEST_F(RefLists, GroupPassportAgainstTheTables)
{
    const SampleInstitution s = SampleInstitution::build(b);
    // Overdraw a load line: ИС-21 (ФИТ) has 2 hours and now 3 lessons.
    b.lesson(s.future, 2, s.ivanovMath, s.isFit, s.a101);
    for (const int group : {s.p9, s.isFit}) {
        const QStringList expected = b.raw(
            QString("SELECT d.Discipline, t.Tutor, l.Hours, (SELECT Count(*) FROM "
                    "tblTimeTableContent c WHERE c.Key_Job = l.Key_Job AND c.Key_Group = "
                    "l.Key_Group) AS n, l.Hours - (SELECT Count(*) FROM tblTimeTableContent c "
                    "WHERE c.Key_Job = l.Key_Job AND c.Key_Group = l.Key_Group) FROM tblJobList l "
                    "JOIN tblJob j ON j.Key = l.Key_Job JOIN tblDisciplines d ON d.Key = "
                    "j.Key_Discipline JOIN tblTutors t ON t.Key = j.Key_Tutor WHERE l.Key_Group "
                    "= %1 ORDER BY d.Discipline, t.Tutor, l.Key")
                .arg(group));
        const QStringList sums = b.raw(QString("SELECT Count(*), Sum(Hours) FROM tblJobList "
                                               "WHERE Key_Group = %1")
                                           .arg(group));
        ObjectListEntry entry{QStringLiteral("gr") + QString::number(group), {}, {}};
        registry.find(2)->objectChosen(ctx, entry);
        QStringList shown = body(0, 4);
        EXPECT_EQ(shown.takeFirst(), "||||"); // the load lines start in row 2
        const QString totals = shown.takeLast();
        EXPECT_EQ(shown, expected);
        const QStringList t = totals.split(u'|');
        EXPECT_EQ(t[0] + "|" + t[2], sums.first());
        EXPECT_EQ(t[0], t[1]);
        EXPECT_EQ(t[2].toInt() - t[3].toInt(), t[4].toInt());
        EXPECT_EQ(grid.cellBackColor(grid.rows() - 1, 0), grid.backColorFixed());
    }
    EXPECT_EQ(grid.text(2, 4), "-1");
    // The dates of a line: the latest lesson and the exam.
    registry.find(2)->objectChosen(ctx, {QStringLiteral("gr") + QString::number(s.p9), {}, {}});
    const int line = grid.findRow("Иванов И.И.", 1);
    EXPECT_EQ(grid.text(line, 5), s.future.toString("dd.MM.yyyy"));
    EXPECT_EQ(grid.text(line, 6), s.past.addDays(4).toString("dd.MM.yyyy"));

    registry.find(2)->objectChosen(ctx, {QStringLiteral("gr") + QString::number(s.noLoad), {}, {}});
    EXPECT_EQ(grid.text(1, 0), "не задано");
    EXPECT_EQ(grid.rows(), 3);
}

// Names pasted from a spreadsheet with a tab or line break inside: each value stays in its
// own cell, and the cells after it stay where the headings are.
TEST_F(RefLists, SeparatorsInsideNamesStayInTheirCells)
{
    const SampleInstitution s = SampleInstitution::build(b);
    b.raw(QString("UPDATE tblGroups SET [Group] = 'П-9' || char(9) || 'А', Comment = 'один' || "
                  "char(10) || 'два' WHERE Key = %1")
              .arg(s.p9));
    b.raw(QString("UPDATE tblDisciplines SET Discipline = 'Мат' || char(9) || 'ем', "
                  "LevelDiff = 1 WHERE Key = %1")
              .arg(s.math));
    b.raw(QString("UPDATE tblAuditories SET Auditoria = '1' || char(13) || char(10) || '01', "
                  "CommentAud = 'окна' WHERE Key = %1")
              .arg(s.a101));
    b.raw(QString("UPDATE tblTutors SET Tutor = 'Иванов' || char(9) || 'И.И.' WHERE Key = %1")
              .arg(s.ivanov));
    const struct
    {
        int code;
        int row;
        std::vector<QString> cells; // from column 1
    } cases[] = {
        {0, 2, {"1", "П-9\tА", "", "отсутствует", "Очная", "Бюджетная", "один\nдва"}},
        {10, 1, {"отсутствует", "Мат\tем", "Математика", "", "Средний"}},
        {20, 3, {"Главный", "1\r\n01", "окна"}},
    };
    for (const auto &c : cases) {
        show(c.code);
        for (size_t i = 0; i < c.cells.size(); ++i)
            EXPECT_EQ(grid.text(c.row, int(i) + 1), c.cells[i]) << c.code << " col " << i + 1;
    }

    ObjectListEntry entry{QStringLiteral("gr") + QString::number(s.p9), {}, {}};
    registry.find(2)->objectChosen(ctx, entry);
    EXPECT_EQ(body(0, 2).value(1), "Мат\tем|Иванов\tИ.И.|40");
}

TEST_F(RefLists, ObjectListsOfTheViews)
{
    const SampleInstitution s = SampleInstitution::build(b);
    struct Case
    {
        int code;
        QStringList headers;
        QString firstKey;
        QStringList firstTexts;
        QString icon;
        size_t count;
    } cases[] = {
        {2, {"Группы", "Курс"}, "gr" + QString::number(s.p9), {"П-9", "1"}, "GROUP", 6},
        {51, {"Группы", "Курс"}, "gr" + QString::number(s.p9), {"П-9", "1"}, "GROUP", 6},
        {32, {"Преподаватель"}, "tu" + QString::number(s.ivanov), {"Иванов И.И."}, "TUTOR", 4},
        {50, {"Преподаватель"}, "tu" + QString::number(s.ivanov), {"Иванов И.И."}, "TUTOR", 4},
        {52, {"Аудитория"}, "au" + QString::number(s.a202), {"202"}, "AUDITORIA", 3},
    };
    for (const Case &c : cases) {
        objects.entries.push_back({"xx1", {"stale"}, {}});
        show(c.code);
        EXPECT_EQ(objects.headers, c.headers) << c.code;
        ASSERT_EQ(objects.entries.size(), c.count) << c.code;
        EXPECT_EQ(objects.entries[0].key, c.firstKey) << c.code;
        EXPECT_EQ(objects.entries[0].texts, c.firstTexts) << c.code;
        EXPECT_EQ(objects.entries[0].icon, c.icon) << c.code;
    }
    // The busy-time view lists nobody while FreeWindow is off.
    record.FreeWindow = false;
    objects.clear();
    show(43);
    EXPECT_TRUE(objects.entries.empty());
}

TEST_F(RefLists, GroupListWidthsFollowTheTypeColumns)
{
    struct Case
    {
        bool faculty, tuition, finance;
        std::vector<int> types; // columns 4 to 7
    } cases[] = {
        {false, false, false, {0, 0, 0, 6700}},
        {true, true, true, {1100, 1100, 1100, 3400}},
        {true, false, false, {1100, 0, 0, 5600}},
        {false, false, true, {0, 0, 1100, 5600}},
    };
    for (const Case &c : cases) {
        record.UseTypeFaculty = c.faculty;
        record.UseTypeTuition = c.tuition;
        record.UseTypeFinance = c.finance;
        buildGroupListFrame(ctx);
        std::vector<int> expected{200, 1400, 1000, 500};
        expected.insert(expected.end(), c.types.begin(), c.types.end());
        EXPECT_EQ(widths(), expected);
    }
    ctx.grid.setClientWidth(12345); // fractions are truncated
    record.UseTypeFinance = false;
    buildGroupListFrame(ctx);
    EXPECT_EQ(grid.colWidth(1), 1728);
    EXPECT_EQ(grid.colWidth(7), 8271);
}

TEST_F(RefLists, EveryFrameEmptiesTheGridAndStartsAtTheTopLeft)
{
    const struct
    {
        const char *name;
        void (*build)(ViewContext &);
    } cases[] = {
        {"group list", buildGroupListFrame},
        {"passport", buildGroupPassportFrame},
        {"disciplines", buildDisciplineListFrame},
        {"auditoriums", buildAuditoriumListFrame},
        {"load", buildLoadFrame},
        {"tutor passport", buildTutorPassportFrame},
        {"timesheet", buildTimesheetFrame},
        {"hours worked", buildHoursWorkedFrame},
        {"full hours", buildFullHoursWorkedFrame},
        {"busy time", buildBusyTimeFrame},
    };
    for (const auto &c : cases) {
        grid.clear();
        grid.setCols(40);
        grid.setRows(40);
        grid.setText(30, 30, "old");
        grid.setCurrentCell(20, 20);
        c.build(ctx);
        EXPECT_NE(grid.text(30, 30), "old") << c.name;
        EXPECT_GT(grid.fixedRows(), 0) << c.name;
        EXPECT_EQ(grid.currentRow(), 0) << c.name;
        EXPECT_EQ(grid.currentCol(), 0) << c.name;
    }
    // The hidden fifth column of the auditorium list.
    buildAuditoriumListFrame(ctx);
    EXPECT_EQ(widths(), (std::vector<int>{200, 1500, 1500, 6500, 0}));
}

TEST_F(RefLists, EntryAreaOpensOnlyInItsList)
{
    SampleInstitution::build(b);
    buildGroupListFrame(ctx);
    fillGroupList(ctx);
    const int rows = grid.rows();
    ASSERT_TRUE(openNewGroupArea(ctx));
    EXPECT_EQ(grid.rows(), rows + 6);
    EXPECT_EQ(grid.text(3, 2), "Принять");
    EXPECT_EQ(grid.text(5, 2), "Отмена");
    EXPECT_EQ(grid.cellBackColor(3, 2), grid.backColorFixed());
    EXPECT_EQ(grid.cellBackColor(1, 4), grid.backColor());
    // The whole area is boxed in cell borders, not the entry row alone.
    EXPECT_EQ(grid.cellBorder(4, 4).edges,
              Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    EXPECT_FALSE(grid.cellBorder(7, 4).edges);
    EXPECT_EQ(grid.text(7, 2), "П-9");
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_EQ(grid.currentCol(), 1);

    grid.setCellBackColor(1, 3, QColor(Qt::red));
    resetEntryRowColor(grid);
    EXPECT_EQ(grid.cellBackColor(1, 3), grid.backColor());
    grid.setText(1, 2, "typed");
    removeEntryRow(grid);
    EXPECT_EQ(grid.rows(), rows + 5);
    EXPECT_EQ(grid.findRow("typed", 2), -1);
    EXPECT_TRUE(prompts.shown.empty());

    buildDisciplineListFrame(ctx);
    EXPECT_FALSE(openNewGroupArea(ctx));
    EXPECT_EQ(grid.rows(), 2);
    EXPECT_EQ(prompts.texts(ScriptedPrompts::Kind::Message),
              QStringList{"До ввода новой группы активируйте раздел ГРУППЫ"});
    EXPECT_TRUE(openNewDisciplineArea(ctx));
    EXPECT_FALSE(openNewAuditoriumArea(ctx));
}

TEST_F(RefLists, CollapseLeavesTotalsAndExpandShowsAll)
{
    SampleInstitution::build(b);
    buildGroupListFrame(ctx);
    fillGroupList(ctx);
    const int all = grid.rows();
    collapseOutline(grid, true);
    // The header, three course totals and the last row.
    EXPECT_EQ(visibleRows(), 5);
    for (int row = 1; row < grid.rows() - 1; ++row)
        EXPECT_EQ(grid.isRowHidden(row), !grid.isSubtotal(row)) << row;
    collapseOutline(grid, false);
    EXPECT_EQ(visibleRows(), all);
}

TEST_F(RefLists, BusyTimeLaysOutTheMonthAndTheLegend)
{
    record.LessonsInDay = 6;
    record.WorkDays = 6;
    ctx.calendarDate = QDate(2027, 2, 17); // 28 days; 1 February is a Monday
    buildBusyTimeFrame(ctx);
    ASSERT_EQ(grid.rows(), 17);
    EXPECT_EQ(grid.text(0, busytime::dayCol(28)), "28");
    EXPECT_GT(grid.colWidth(busytime::dayCol(28)), 0);
    for (const int day : {29, 30, 31})
        EXPECT_EQ(grid.colWidth(busytime::dayCol(day)), 0) << day;
    EXPECT_EQ(grid.text(busytime::lessonRow(6), 1), "6");
    // With six working days only Sundays are rest days.
    EXPECT_TRUE(grid.hasOwnBackColor(busytime::lessonRow(1), busytime::dayCol(7)));
    EXPECT_FALSE(grid.hasOwnBackColor(busytime::lessonRow(1), busytime::dayCol(6)));

    const int legend = busytime::legendRow(6);
    EXPECT_EQ(grid.text(legend, 2), "Обозначения свободного времени преподавателя");
    EXPECT_EQ(grid.mergedRange(legend, 9), (CellRange{legend, 2, legend, 15}));
    EXPECT_EQ(grid.text(legend, 25), "Каждую неделю");
    const QStringList kinds{"Отгул",         "По болезни",   "Коммандировка",
                            "Отпуск (Море)", "Выходные дни", "Нагрузка"};
    const QStringList icons{"HOUSE", "RED_CROSS", "TRAIN", "REST", "SUN", "CHECK_GREEN"};
    const QString letters = QStringLiteral("ОБKМВФ");
    for (int k = 0; k < kinds.size(); ++k) {
        EXPECT_EQ(grid.text(legend + 1 + k, 3), kinds[k]);
        EXPECT_EQ(grid.cellPicture(legend + 1 + k, 18), icons[k]);
        EXPECT_EQ(grid.text(legend + 1 + k, 22), QString(letters[k]));
    }
    EXPECT_EQ(legend + 6, grid.rows() - 1);

    record.WorkDays = 5;
    buildBusyTimeFrame(ctx);
    EXPECT_TRUE(grid.hasOwnBackColor(busytime::lessonRow(1), busytime::dayCol(6)));
}

} // namespace
} // namespace korvesta
