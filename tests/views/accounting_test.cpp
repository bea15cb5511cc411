// The accounting views on a document built here: every figure of the timesheet, the hours
// worked of a tutor and of all tutors, and the busy-time month is compared with counts the
// test takes from the lessons it placed. Groups and disciplines of one name stay apart.

#include "data/history.h"
#include "data/querydef.h"
#include "grid/gridcolors.h"
#include "support/viewfixture.h"
#include "views/accounting/accountingcommon.h"
#include "views/accounting/accountingviews.h"
#include "views/frames/busytimeframe.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

namespace korvesta {
namespace {

// One placed lesson row, named as the views show it.
struct Placed
{
    QString tutor, discipline, group, course;
    QDate date;
};

class Accounting : public ViewTest
{
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        registerViewFills(registry);
        grid.setClientWidth(15000);
        build();
        ctx.periodFrom = QDate(2024, 9, 2);
        ctx.periodTo = QDate(2024, 10, 31);
        record.ShowTotals = false;
    }

    void build()
    {
        const auto group = [&](const char *name, const char *course, int faculty) {
            return b.add("tblGroups", {"Group", name, "Course", course, "Key_TypeFaculty", faculty});
        };
        const int fit = b.add("tblTypeFaculty", {"TypeFaculty", "ФИТ"});
        const int fem = b.add("tblTypeFaculty", {"TypeFaculty", "ФЭМ"});
        p9 = group("П-9", "1", 1);
        isFit = group("ИС-21", "2", fit);
        isFem = group("ИС-21", "2", fem);
        p9second = group("П-9", "2", 1);
        const auto discipline = [&](const char *name, const char *full) {
            return b.add("tblDisciplines", {"Discipline", name, "Discipline1", full});
        };
        math = discipline("Матем", "Математика");
        analysis = discipline("Матем", "Матем. анализ");
        physics = discipline("Физ", "Физика");
        ivanov = b.add("tblTutors", {"Tutor", "Иванов"});
        petrov = b.add("tblTutors", {"Tutor", "Петров"});
        sidorov = b.add("tblTutors", {"Tutor", "Сидоров"});
        room = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});

        const int ivanovMath = b.job(ivanov, math);
        const int ivanovAnalysis = b.job(ivanov, analysis);
        const int petrovPhysics = b.job(petrov, physics);
        const auto load = [&](int job, int g, int hours) {
            b.add("tblJobList", {"Key_Job", job, "Key_Group", g, "Hours", hours});
        };
        load(ivanovMath, p9, 3);      // given in full
        load(ivanovMath, isFit, 5);   // the two ИС-21 with equal loads
        load(ivanovMath, isFem, 5);
        load(ivanovAnalysis, p9second, 1); // overdrawn
        load(petrovPhysics, p9, 10);
        load(b.job(sidorov, physics), p9, 4); // never given

        const auto place = [&](const QDate &date, int lesson, int job, int g, const char *tutor,
                               const char *shown, const char *groupShown, const char *course,
                               int subGroup = 0) {
            b.lesson(date, lesson, job, g, room, subGroup);
            placed.push_back({tutor, shown, groupShown, course, date});
        };
        const QDate sep3(2024, 9, 3), sep4(2024, 9, 4), sep5(2024, 9, 5);
        const QDate oct1(2024, 10, 1), oct2(2024, 10, 2), oct3(2024, 10, 3), oct10(2024, 10, 10);
        place(sep3, 1, ivanovMath, p9, "Иванов", "Матем (Математика)", "П-9", "1");
        place(sep3, 2, ivanovMath, p9, "Иванов", "Матем (Математика)", "П-9", "1");
        place(oct1, 1, ivanovMath, p9, "Иванов", "Матем (Математика)", "П-9", "1");
        place(sep4, 1, ivanovMath, isFit, "Иванов", "Матем (Математика)", "ИС-21 ФИТ", "2");
        place(oct2, 1, ivanovMath, isFit, "Иванов", "Матем (Математика)", "ИС-21 ФИТ", "2");
        place(sep4, 2, ivanovMath, isFem, "Иванов", "Матем (Математика)", "ИС-21 ФЭМ", "2");
        place(sep5, 3, ivanovAnalysis, p9second, "Иванов", "Матем (Матем. анализ)", "П-9", "2");
        place(oct3, 3, ivanovAnalysis, p9second, "Иванов", "Матем (Матем. анализ)", "П-9", "2");
        place(sep3, 3, petrovPhysics, p9, "Петров", "Физ", "П-9", "1");
        // Two subgroups at one lesson are two lesson rows.
        place(oct10, 1, petrovPhysics, p9, "Петров", "Физ", "П-9", "1", 1);
        place(oct10, 1, petrovPhysics, p9, "Петров", "Физ", "П-9", "1", 2);
        place(QDate(2024, 10, 31), 2, petrovPhysics, p9, "Петров", "Физ", "П-9", "1");
        // Outside the period.
        b.lesson(QDate(2024, 11, 1), 1, ivanovMath, p9, room);
        b.lesson(QDate(2024, 8, 30), 1, petrovPhysics, p9, room);
    }

    void choose(int code, int tutor)
    {
        ctx.viewCode = code;
        registry.find(code)->objectChosen(ctx, {QStringLiteral("tu%1").arg(tutor), {}, {}});
    }

    QStringList rowTexts(int row, int from) const
    {
        QStringList cells;
        for (int col = from; col < grid.cols(); ++col)
            cells << grid.text(row, col);
        return cells;
    }

    // Lessons per (key, date), counted from what was placed.
    template<typename Key>
    std::map<std::pair<Key, QDate>, int> countBy(Key (*key)(const Placed &),
                                                 const QString &tutor = QString()) const
    {
        std::map<std::pair<Key, QDate>, int> counts;
        for (const Placed &p : placed) {
            if (tutor.isEmpty() || p.tutor == tutor)
                ++counts[{key(p), p.date}];
        }
        return counts;
    }

    std::vector<Placed> placed;
    int p9 = 0, isFit = 0, isFem = 0, p9second = 0, math = 0, analysis = 0, physics = 0;
    int ivanov = 0, petrov = 0, sidorov = 0, room = 0;
};

using Line = std::tuple<QString, QString, QString>; // discipline, group, course
Line lineOf(const Placed &p)
{
    return {p.discipline, p.group, p.course};
}

TEST_F(Accounting, TimesheetCountsEachLineByDateAgainstItsLoad)
{
    choose(33, ivanov);
    const auto counts = countBy(&lineOf, QStringLiteral("Иванов"));
    std::set<QDate> dates;
    std::map<Line, int> given;
    for (const auto &[key, n] : counts) {
        dates.insert(key.second);
        given[key.first] += n;
    }
    ASSERT_EQ(grid.cols(), 7 + int(dates.size()));
    ASSERT_EQ(grid.rows(), 2 + int(given.size()));
    EXPECT_EQ(grid.fixedRows(), 2);

    // Date headers: the month over the day, two months of the period.
    int col = 7;
    for (const QDate &date : dates) {
        EXPECT_EQ(grid.text(1, col), date.toString("dd"));
        EXPECT_EQ(grid.text(0, col), date.month() == 9 ? "Сентябрь" : "Октябрь");
        EXPECT_EQ(grid.colWidth(col), 300);
        ++col;
    }
    EXPECT_EQ(grid.mergedRange(0, 7), (CellRange{0, 7, 0, 9})); // 3, 4 and 5 September
    EXPECT_EQ(grid.mergedRange(0, 10), (CellRange{0, 10, 0, 12}));

    // Every line: the load, the lessons given, the remainder and the lessons per date.
    const std::map<Line, int> hours = {{{"Матем (Математика)", "П-9", "1"}, 3},
                                       {{"Матем (Математика)", "ИС-21 ФИТ", "2"}, 5},
                                       {{"Матем (Математика)", "ИС-21 ФЭМ", "2"}, 5},
                                       {{"Матем (Матем. анализ)", "П-9", "2"}, 1}};
    QStringList shownLines;
    for (int row = 2; row < grid.rows(); ++row) {
        const Line line{grid.text(row, 1), grid.text(row, 2), grid.text(row, 3)};
        shownLines << grid.text(row, 1) + "|" + grid.text(row, 2);
        ASSERT_TRUE(hours.count(line)) << grid.text(row, 2).toStdString();
        const int total = hours.at(line), done = given.at(line);
        EXPECT_EQ(rowTexts(row, 4).mid(0, 3),
                  QStringList({QString::number(total), QString::number(done),
                               QString::number(total - done)}));
        int c = 7;
        for (const QDate &date : dates) {
            const auto it = counts.find({line, date});
            EXPECT_EQ(grid.text(row, c), it == counts.end() ? "" : QString::number(it->second));
            EXPECT_EQ(grid.cellBackColor(row, c) == QColor(0xE0, 0xE0, 0xE0), it != counts.end());
            ++c;
        }
        EXPECT_EQ(grid.cellPicture(row, 1), "DISCIPLINE");
        EXPECT_EQ(grid.cellPicture(row, 2), "GROUP");
        // A load given in full: blue on light green; overdrawn: red.
        const QColor fore = grid.cellForeColor(row, 6);
        if (total == done) {
            EXPECT_EQ(fore, QColor(0, 0, 0xFF));
            EXPECT_EQ(grid.cellBackColor(row, grid.cols() - 1), QColor(0xC0, 0xFF, 0xC0));
        } else if (total < done) {
            EXPECT_EQ(fore, QColor(0xFF, 0, 0));
        } else {
            EXPECT_NE(grid.cellBackColor(row, 6), QColor(0xC0, 0xFF, 0xC0));
        }
    }
    EXPECT_EQ(shownLines, QStringList({"Матем (Математика)|П-9", "Матем (Математика)|ИС-21 ФИТ",
                                       "Матем (Математика)|ИС-21 ФЭМ",
                                       "Матем (Матем. анализ)|П-9"}));
    // A discipline merges down over its groups, never into the other one of its name.
    EXPECT_EQ(grid.mergedRange(2, 1), (CellRange{2, 1, 4, 1}));
    EXPECT_EQ(grid.mergedRange(5, 1), (CellRange{5, 1, 5, 1}));
    EXPECT_EQ(grid.currentRow(), 0);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(Accounting, TotalsAddUpPerDisciplineTutorAndMonth)
{
    record.ShowTotals = true;
    choose(33, ivanov);
    ASSERT_TRUE(grid.outlineBar());
    std::vector<int> totals;
    for (int row = 2; row < grid.rows(); ++row) {
        if (grid.isSubtotal(row))
            totals.push_back(row);
    }
    ASSERT_EQ(totals.size(), 3u);
    // Матем (Математика): 13 hours, 6 given; then Матем (Матем. анализ): 1 and 2; all: 14 and 8.
    EXPECT_EQ(rowTexts(totals[0], 1).mid(0, 6),
              QStringList({"Матем (Математика)", "Итого", "", "13", "6", "7"}));
    EXPECT_EQ(rowTexts(totals[1], 4).mid(0, 3), QStringList({"1", "2", "-1"}));
    EXPECT_EQ(rowTexts(totals[2], 2).mid(0, 5), QStringList({"ВСЕГО", "", "14", "8", "6"}));
    EXPECT_TRUE(grid.cellBold(totals[2], 4));
    // 3 September: two lessons of П-9; a date without lessons of a discipline stays empty.
    EXPECT_EQ(grid.text(totals[0], 7), "2");
    EXPECT_EQ(grid.text(totals[1], 7), "");

    // Hours worked: a total per month with its dates, then the months.
    choose(34, petrov);
    QStringList shown;
    for (int row = 2; row < grid.rows(); ++row)
        shown << rowTexts(row, 1).join('|');
    EXPECT_EQ(shown, QStringList({"Сентябрь '24|03 Сен|1", "Сентябрь '24|1 дн.|1",
                                  "Октябрь '24|10 Окт|2", "Октябрь '24|31 Окт|1",
                                  "Октябрь '24|2 дн.|3", "2 мес.|3 дн.|4"}));
    EXPECT_TRUE(grid.cellBold(grid.rows() - 1, 1));
    EXPECT_EQ(grid.cellBackColor(2, 1), colorFromBgr(0x80000018));

    // All tutors: a total per tutor and one with the number of tutors.
    registry.find(35)->fill(ctx);
    shown.clear();
    for (int row = 2; row < grid.rows(); ++row)
        shown << rowTexts(row, 1).mid(0, 5).join('|');
    EXPECT_EQ(shown, QStringList({"Иванов|Матем (Математика)|13|6|7",
                                  "Иванов|Матем (Матем. анализ)|1|2|-1", "Иванов|Итого|14|8|6",
                                  "Петров|Физ|10|4|6", "Петров|Итого|10|4|6",
                                  "2 чел.||24|12|12"}));
}

TEST_F(Accounting, HoursWorkedGivesEachDateItsLessonsPerGroup)
{
    for (const auto &[tutor, name] :
         {std::pair{ivanov, QStringLiteral("Иванов")}, std::pair{petrov, QStringLiteral("Петров")}}) {
        SCOPED_TRACE(name.toStdString());
        choose(34, tutor);
        using Column = std::pair<QString, QString>; // group, course label
        const auto columnOf = [](const Placed &p) {
            return Column{p.group, p.course + " курс"};
        };
        std::map<std::pair<Column, QDate>, int> counts;
        std::set<QDate> dates;
        std::set<Column> columns;
        for (const Placed &p : placed) {
            if (p.tutor != name)
                continue;
            ++counts[{columnOf(p), p.date}];
            dates.insert(p.date);
            columns.insert(columnOf(p));
        }
        ASSERT_EQ(grid.rows(), 2 + int(dates.size()));
        ASSERT_EQ(grid.cols(), 3 + int(columns.size()));
        EXPECT_EQ(grid.fixedCols(), 3);
        int row = 2;
        for (const QDate &date : dates) {
            EXPECT_EQ(grid.text(row, 2).left(2), date.toString("dd"));
            for (int col = 3; col < grid.cols(); ++col) {
                const Column column{grid.text(0, col), grid.text(1, col)};
                ASSERT_TRUE(columns.count(column)) << grid.text(0, col).toStdString();
                const auto it = counts.find({column, date});
                EXPECT_EQ(grid.text(row, col),
                          it == counts.end() ? "" : QString::number(it->second));
                EXPECT_EQ(grid.cellPicture(0, col), "GROUP");
            }
            ++row;
        }
    }
    // The groups in the order of the group list: by course, then by name.
    choose(34, ivanov);
    EXPECT_EQ(rowTexts(0, 3), QStringList({"П-9", "П-9", "ИС-21 ФИТ", "ИС-21 ФЭМ"}));
    EXPECT_EQ(rowTexts(1, 3), QStringList({"1 курс", "2 курс", "2 курс", "2 курс"}));
}

TEST_F(Accounting, FullHoursWorkedKeepsGroupsOfOneNameApart)
{
    registry.find(35)->fill(ctx);
    // Columns: every group taught in the period, in list order.
    EXPECT_EQ(rowTexts(0, 6), QStringList({"П-9", "П-9", "ИС-21 ФИТ", "ИС-21 ФЭМ"}));
    EXPECT_EQ(rowTexts(1, 6), QStringList({"1 курс", "2 курс", "2 курс", "2 курс"}));
    // Per tutor and discipline: the load, the lessons given per group and their sum.
    EXPECT_EQ(rowTexts(2, 1), QStringList({"Иванов", "Матем (Математика)", "13", "6", "7",
                                           "3", "", "2", "1"}));
    EXPECT_EQ(rowTexts(3, 1), QStringList({"Иванов", "Матем (Матем. анализ)", "1", "2", "-1",
                                           "", "2", "", ""}));
    EXPECT_EQ(rowTexts(4, 1), QStringList({"Петров", "Физ", "10", "4", "6", "4", "", "", ""}));
    EXPECT_EQ(grid.rows(), 5); // Сидоров gave nothing
    EXPECT_EQ(grid.cellForeColor(3, 5), QColor(0xFF, 0, 0));
    EXPECT_EQ(grid.cellPicture(2, 1), "TUTOR");
    EXPECT_EQ(grid.cellBackColor(2, 6), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(grid.mergedRange(2, 1), (CellRange{2, 1, 3, 1}));
}

TEST_F(Accounting, PeriodsAndTutorsWithoutFiguresAreToldOrLeftEmpty)
{
    struct Case
    {
        const char *name;
        QDate from, to;
        int tutor;
        const char *message; // empty: no message
        int rows;            // of the grid afterwards
    };
    const Case cases[] = {
        {"start after end", {2024, 10, 31}, {2024, 9, 2}, ivanov,
         "Начало периода (31.10.2024) позже его конца (02.09.2024)", 4},
        {"no start", {}, {2024, 9, 2}, ivanov, "Не задан период: укажите его начало и конец", 4},
        {"tutor without lessons", {2024, 9, 2}, {2024, 10, 31}, sidorov, "", 4},
        {"nothing in the period", {2024, 12, 1}, {2024, 12, 31}, ivanov, "", 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const int code : {33, 34}) {
            prompts.shown.clear();
            ctx.periodFrom = c.from;
            ctx.periodTo = c.to;
            choose(code, c.tutor);
            EXPECT_EQ(grid.rows(), c.rows) << code;
            EXPECT_EQ(grid.text(1, 2), code == 33 ? "Группа" : "Дата") << code;
            ASSERT_EQ(prompts.shown.size(), *c.message ? 1u : 0u) << code;
            if (*c.message) {
                EXPECT_EQ(prompts.shown[0].text, c.message);
            }
        }
    }

    // Two years: a month met twice carries its year.
    ctx.periodFrom = QDate(2023, 9, 1);
    ctx.periodTo = QDate(2025, 8, 31);
    b.lesson(QDate(2023, 9, 4), 1, b.job(ivanov, math), p9, room);
    choose(33, ivanov);
    EXPECT_EQ(grid.text(0, 7), "Сентябрь '23");
    EXPECT_EQ(grid.text(0, 8), "Сентябрь '24");
    // П-9 of course 1: the three lessons of the autumn, the one added and that of November.
    EXPECT_EQ(grid.text(2, 5), "5");
}

TEST_F(Accounting, ReadOnlyDocumentShowsItsFiguresAndKeepsItsQueries)
{
    // Looking at the figures changes nothing that "Отменить" would take back.
    const QString stored = Database::open(path).queryDef("OTR3").sql();
    History *history = History::attach(Database::open(path));
    ASSERT_NE(history, nullptr);
    choose(33, ivanov);
    choose(34, ivanov);
    registry.find(35)->fill(ctx);
    EXPECT_EQ(Database::open(path).queryDef("OTR3").sql(), stored);
    EXPECT_FALSE(history->canUndo());
    History::detachAll();

    // A document opened for reading only: nothing may be written into it.
    Database::forgetAll();
    ScriptedPrompts quiet;
    DocumentSession readOnly{quiet, store, {folder.path(), folder.path()}};
    readOnly.setReadingOnly(true);
    readOnly.startFromCommandLine({path});
    ViewContext view{grid, objects, readOnly, store, record, quiet};
    view.periodFrom = ctx.periodFrom;
    view.periodTo = ctx.periodTo;
    view.viewCode = 34;
    registry.find(34)->objectChosen(view, {QStringLiteral("tu%1").arg(petrov), {}, {}});
    EXPECT_EQ(grid.rows(), 5);
    EXPECT_TRUE(quiet.shown.empty());
}

// Busy time -------------------------------------------------------------------------------------

class BusyTime : public Accounting
{
protected:
    void SetUp() override
    {
        Accounting::SetUp();
        record.LessonsInDay = 4;
        const QVariant none;
        // Kind, weekday, lesson, date: one lesson every day, a whole date, one lesson of a
        // date, a weekday every week, one lesson of a weekday, and rows no mark stands for.
        // A later row's mark covers an earlier one's.
        const QVariant outs[][4] = {
            {5, none, 1, none},                  {1, none, none, QDate(2024, 2, 13)},
            {2, none, 2, QDate(2024, 2, 15)},    {3, 3, none, none},
            {4, 5, 4, none},                     {0, 2, none, none},
            {9, 2, none, none},                  {none, 2, none, none},
            {1, 8, none, none},                  {1, none, 7, QDate(2024, 2, 16)},
            {2, none, none, QDate(2024, 3, 1)},
        };
        for (const auto &o : outs)
            b.add("tblTutorOut", {"KeyTutor", petrov, "KeyTypeOut", o[0], "FreeDay", o[1],
                                  "FreeLesson", o[2], "FreeLocalDate", o[3]});
        const int job = b.job(petrov, physics);
        b.lesson(QDate(2024, 2, 12), 3, job, p9, room);
        b.lesson(QDate(2024, 2, 12), 3, job, p9, room, 2); // one lesson of two subgroups
        b.lesson(QDate(2024, 2, 29), 2, job, p9, room);
        b.lesson(QDate(2024, 3, 1), 2, job, p9, room);
        ctx.calendarDate = QDate(2024, 2, 20);
    }

    // The mark of each lesson cell of a day, "." for none.
    QString day(int d) const
    {
        QString marks;
        const int col = busytime::dayCol(d);
        for (int lesson = 1; lesson <= record.LessonsInDay; ++lesson) {
            const int row = busytime::lessonRow(lesson);
            const QString text = grid.text(row, col), icon = grid.cellPicture(row, col);
            marks += !text.isEmpty() ? text : !icon.isEmpty() ? icon.left(1).toLower() : ".";
        }
        return marks;
    }
};

TEST_F(BusyTime, MarksExceptionsRestDaysAndLessonsOfTheMonth)
{
    store.writeInt("Settings", "ShowBusyTimeIconNoLetter", 0);
    struct Case
    {
        int workDays;
        std::map<int, QString> days; // day of February 2024 -> marks of lessons 1 to 4
    };
    // February 2024: the 1st is a Thursday, the 29th too (a leap year).
    const Case cases[] = {
        {5, {{1, "?..."}, {2, "?..М"}, {3, "ВВВВ"}, {4, "ВВВВ"}, {5, "?..."}, {6, "?..."},
             {7, "КККК"}, {12, "?.Ф."}, {13, "ОООО"}, {14, "КККК"}, {15, "?Б.."},
             {16, "?..М"}, {17, "ВВВВ"}, {29, "?Ф.."}}},
        {6, {{3, "?..."}, {4, "ВВВВ"}, {10, "?..."}, {29, "?Ф.."}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.workDays);
        record.WorkDays = c.workDays;
        choose(43, petrov);
        for (const auto &[d, marks] : c.days)
            EXPECT_EQ(day(d), marks) << "day " << d;
        // 29 days: the columns of the 30th and 31st are hidden.
        EXPECT_GT(grid.colWidth(busytime::dayCol(29)), 0);
        EXPECT_EQ(grid.colWidth(busytime::dayCol(30)), 0);
        EXPECT_EQ(grid.colWidth(busytime::dayCol(31)), 0);
    }
}

TEST_F(BusyTime, SettingsChooseIconsAndKindsAndTotalsCountLessons)
{
    record.ShowTotals = true;
    choose(43, petrov);
    EXPECT_EQ(day(12), "q.c.");
    EXPECT_EQ(day(13), "hhhh");
    EXPECT_EQ(grid.cellPicture(busytime::lessonRow(1), busytime::dayCol(3)), "SUN");
    const int totals = busytime::totalsRow(record.LessonsInDay);
    EXPECT_EQ(grid.text(totals, busytime::dayCol(12)), "1");
    EXPECT_EQ(grid.text(totals, busytime::dayCol(29)), "1");
    EXPECT_EQ(grid.text(totals, busytime::dayCol(13)), "0");

    // Each kind hidden by its own setting: the absence of kind 1, rest days, lessons.
    store.writeInt("Settings", "ShowBusyTime1", 0);
    store.writeInt("Settings", "ShowBusyTime5", 0);
    store.writeInt("Settings", "ShowBusyTime6", 0);
    choose(43, petrov);
    EXPECT_EQ(day(13), "....");
    EXPECT_EQ(day(3), "....");
    EXPECT_EQ(day(12), "....");
    EXPECT_EQ(day(7), "tttt");
    EXPECT_EQ(grid.text(totals, busytime::dayCol(12)), "0");
}

TEST(DistinctNames, SharedNamesGetTheirDetailOrKey)
{
    // Key, name, detail -> suffix.
    const struct
    {
        int key;
        const char *name;
        const char *detail;
        const char *suffix;
    } records[] = {
        {1, "П-9", "", ""},              {2, "ИС-21", "ФИТ", " ФИТ"},
        {3, "ИС-21", "ФЭМ", " ФЭМ"},     {4, "Э-31", "ФИТ", " №4"},
        {5, "Э-31", "ФИТ", " №5"},       {6, "Д-1", "", " №6"},
        {7, "Д-1", "ФЭМ", " ФЭМ"},       {2, "ИС-21", "ФИТ", " ФИТ"}, // a key met again
    };
    accounting::DistinctNames names;
    QHash<int, QString> details;
    for (const auto &r : records) {
        names.add(r.key, r.name);
        details.insert(r.key, r.detail);
    }
    const std::vector<QString> suffixes = names.suffixes([&](int key) { return details[key]; });
    ASSERT_EQ(suffixes.size(), std::size(records));
    for (size_t i = 0; i < suffixes.size(); ++i)
        EXPECT_EQ(suffixes[i], records[i].suffix) << records[i].key;
}

TEST(BusyTimeGrid, CellsNameTheirDateLessonAndKind)
{
    const QDate leap(2024, 2, 10);
    EXPECT_EQ(busytime::dateOfCol(leap, busytime::dayCol(29)), QDate(2024, 2, 29));
    EXPECT_EQ(busytime::dateOfCol(leap, busytime::dayCol(30)), QDate());
    EXPECT_EQ(busytime::dateOfCol(leap, 1), QDate());
    EXPECT_EQ(busytime::dateOfCol(QDate(2023, 2, 1), busytime::dayCol(29)), QDate());
    EXPECT_EQ(busytime::lessonOfRow(busytime::lessonRow(1), 14), 1);
    EXPECT_EQ(busytime::lessonOfRow(busytime::lessonRow(14), 14), 14);
    EXPECT_EQ(busytime::lessonOfRow(busytime::lessonRow(15), 14), 0);
    EXPECT_EQ(busytime::lessonOfRow(1, 14), 0);
    for (int kind = 1; kind <= 4; ++kind) {
        EXPECT_EQ(busytime::absenceKindAt(busytime::kindRow(14, kind), 18, 14), kind);
        EXPECT_EQ(busytime::absenceKindAt(busytime::kindRow(14, kind), 2, 14), 0);
    }
    EXPECT_EQ(busytime::absenceKindAt(busytime::kindRow(14, 5), 18, 14), 0);
}

} // namespace
} // namespace korvesta
