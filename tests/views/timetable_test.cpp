// The day, week and work-schedule timetables filled from a small institution built in code.

#include "data/queries.h"
#include "data/querydef.h"
#include "grid/gridcolors.h"
#include "support/viewfixture.h"
#include "views/displaytextmodes.h"
#include "views/timetable/auditoriumlabels.h"
#include "views/timetable/timetablefills.h"
#include "views/timetable/timetablelessons.h"

#include <QFile>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

constexpr quint32 kMathColor = 0x00FF00;
constexpr quint32 kP9Color = 0x0080FF;

class Timetable : public ViewTest
{
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        record.LessonsInDay = 6;
        record.ShowTimeLesson = false;
        ctx.calendarDate = monday.addDays(2); // a Wednesday: the week is monday's

        fit = b.add("tblTypeFaculty", {"TypeFaculty", "ФИТ"});
        fem = b.add("tblTypeFaculty", {"TypeFaculty", "ФЭМ"});
        auto group = [&](const char *name, const char *course, int faculty) {
            return b.add("tblGroups", {"Group", name, "Course", course, "Key_TypeFaculty",
                                       faculty, "GroupColor", kP9Color});
        };
        isFem = group("ИС-21", "2", fem); // added first: the list orders by faculty name
        p10 = group("П-10", "1", 1);
        p9 = group("П-9", "1", 1);
        isFit = group("ИС-21", "2", fit);
        const int math = b.add("tblDisciplines", {"Discipline", "Матем", "Discipline1",
                                                  "Математика", "DiscColor", kMathColor});
        const int phys =
            b.add("tblDisciplines", {"Discipline", "Физ", "Discipline1", "Физика"});
        const int ivanov = b.add("tblTutors", {"Tutor", "Иванов"});
        const int petrov = b.add("tblTutors", {"Tutor", "Петров"});
        a101 = b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"});
        const int a202 = b.add("tblAuditories", {"Auditoria", "202", "Corpus", "Главный"});
        ivanovMath = b.job(ivanov, math);
        const int petrovPhys = b.job(petrov, phys);

        b.lesson(monday, 1, ivanovMath, p9, a101);
        b.lesson(monday, 2, petrovPhys, p9, a202, 1, 2);
        b.lesson(monday, 2, ivanovMath, p9, a101, 2, 3);
        b.lesson(monday, 3, ivanovMath, isFem, a101);
        b.lesson(monday, 4, ivanovMath, isFit, a202);
        b.lesson(monday, 5, ivanovMath, p9, a101);
        b.lesson(monday, 5, ivanovMath, p10, a101); // a lecture for two groups
        b.lesson(monday, 7, petrovPhys, p10, a202); // beyond LessonsInDay
        b.lesson(monday.addDays(2), 1, petrovPhys, p10, a202);
        b.lesson(monday.addDays(5), 1, ivanovMath, p9, a101); // a Saturday
        b.add("tblTimeLesson", {"Lesson", 1, "TimeLesson", "08:30-09:15"});
        b.add("tblTimeLesson", {"Lesson", 2, "TimeLesson", "09:25-10:10"});
    }

    void show(int code)
    {
        ctx.viewCode = code;
        ctx.calendarDate = code == 41 ? monday.addDays(2) : monday;
        if (code == 40)
            showDayTimetable(ctx);
        else if (code == 41)
            showWeekTimetable(ctx);
        else
            showWorkSchedule(ctx);
    }
    // The column whose group (or tutor) header reads `header`, from `from` on.
    int column(const QString &header, int from = 0) const
    {
        const int row = ctx.viewCode == 42 ? 0 : grid.fixedRows() - 1;
        for (int c = from; c < grid.cols(); ++c) {
            if (grid.text(row, c) == header)
                return c;
        }
        return -1;
    }
    // The texts of every data cell that holds one, as "row,col=text".
    QStringList filledCells() const
    {
        QStringList out;
        for (int r = grid.fixedRows(); r < grid.rows(); ++r)
            for (int c = grid.fixedCols(); c < grid.cols(); ++c)
                if (!grid.text(r, c).isEmpty())
                    out << QStringLiteral("%1,%2=%3").arg(r).arg(c).arg(grid.text(r, c));
        return out;
    }

    QDate monday{2026, 12, 7};
    int fit = 0, fem = 0, p9 = 0, p10 = 0, isFit = 0, isFem = 0, a101 = 0, ivanovMath = 0;
};

TEST_F(Timetable, DayViewWithoutFaculties)
{
    show(40);
    ASSERT_EQ(grid.fixedRows(), 2);
    ASSERT_EQ(grid.rows(), 2 + 6);
    const int c9 = column("П-9");
    EXPECT_EQ(c9, 1);
    EXPECT_EQ(grid.text(0, c9), "1 курс");
    EXPECT_EQ(grid.cellPicture(1, c9), "GROUP");
    EXPECT_EQ(grid.rowHeight(2), 2 * 270);
    // Both ИС-21 groups read as one column: the lessons of both go to the first.
    const int is1 = column("ИС-21");
    const int is2 = column("ИС-21", is1 + 1);
    EXPECT_EQ(filledCells(), QStringList({
                                 "2,1=Матем  101",
                                 "3,1=Физ  202\r\nМатем  101",
                                 "4," + QString::number(is1) + "=Матем  101",
                                 "5," + QString::number(is1) + "=Матем  202",
                                 "6,1=Матем  101",
                                 "6,2=Матем  101",
                             }));
    EXPECT_EQ(grid.cellBackColor(2, c9), colorFromBgr(kMathColor));
    EXPECT_TRUE(grid.text(4, is2).isEmpty());
    EXPECT_EQ(grid.currentRow(), 0);
    EXPECT_EQ(grid.currentCol(), 0);

    record.ShowColorItem = false;
    show(40);
    EXPECT_FALSE(grid.hasOwnBackColor(2, c9));

    // Once another building has a 101 too, the number alone names two rooms: the building
    // goes beside it; 202 stays a number.
    b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Корпус Б"});
    show(40);
    EXPECT_EQ(grid.text(2, c9), "Матем  101 (Главный)");
    EXPECT_EQ(grid.text(3, c9), "Физ  202\r\nМатем  101 (Главный)");
}

TEST_F(Timetable, DayViewWithFacultiesTellsGroupsApart)
{
    record.UseTypeFaculty = true;
    show(40);
    ASSERT_EQ(grid.fixedRows(), 3);
    const int is1 = column("ИС-21");
    const int is2 = column("ИС-21", is1 + 1);
    EXPECT_EQ(grid.text(0, is1), "ФИТ");
    EXPECT_EQ(grid.text(0, is2), "ФЭМ");
    // Lesson n stands in row n + 2 below the three header rows.
    EXPECT_EQ(grid.text(5, is2), "Матем  101");
    EXPECT_EQ(grid.text(6, is1), "Матем  202");
    EXPECT_EQ(grid.text(3, 1), "Матем  101");

    // The group columns follow the order of the lessons' query.
    DocumentQueries queries(session, store, prompts);
    std::optional<Recordset> rs = queries.OpenTimeTable(monday, 0);
    ASSERT_TRUE(rs);
    QStringList queried;
    for (; !rs->isEof(); rs->moveNext()) {
        const QString g = rs->value("Group").toString() + "/" + rs->value("TypeFaculty").toString();
        if (queried.isEmpty() || queried.last() != g)
            queried << g;
    }
    QStringList columns;
    for (int c = 1; c < grid.cols(); ++c)
        columns << grid.text(2, c) + "/" + grid.text(0, c);
    EXPECT_EQ(columns, QStringList({"П-9/отсутствует", "П-10/отсутствует", "ИС-21/ФИТ",
                                    "ИС-21/ФЭМ"}));
    EXPECT_EQ(queried, columns);
}

TEST_F(Timetable, HiddenFacultyAndWideModes)
{
    record.UseTypeFaculty = true;
    store.writeBool("Faculty", QString::number(fem), false);
    DisplayTextModes::setCurrent(store, 0, 18);
    show(40);
    const int hidden = column("ИС-21", column("ИС-21") + 1);
    EXPECT_EQ(grid.colWidth(hidden), 0);
    EXPECT_EQ(grid.colWidth(1), 1100);

    DisplayTextModes::setCurrent(store, 0, 67);
    show(40);
    EXPECT_EQ(grid.colWidth(hidden), 0);
    EXPECT_EQ(grid.colWidth(1), 1500);
    // Subgroup 2 below subgroup 1, in a row of twice the height.
    EXPECT_EQ(grid.text(4, 1), "Физика (Пр)  202\nПетров\r\nМатематика (Лаб)  101\nИванов");
    EXPECT_EQ(grid.rowHeight(4), 4 * 270);
    EXPECT_EQ(grid.rowHeight(3), 2 * 270);

    DisplayTextModes::setCurrent(store, 0, 45);
    show(40);
    EXPECT_EQ(grid.colWidth(1), 1200);

    DisplayTextModes::setCurrent(store, 0, 4); // no such mode: empty cells
    show(40);
    EXPECT_EQ(grid.colWidth(1), 1100);
    EXPECT_TRUE(grid.text(3, 1).isEmpty());
    EXPECT_EQ(grid.cellBackColor(3, 1), colorFromBgr(kMathColor));
}

TEST_F(Timetable, DateWithoutLessonsKeepsTheFrame)
{
    QFile::remove(session.paths().scratchFile());
    show(40);
    ASSERT_TRUE(QFile::exists(session.paths().scratchFile()));
    ctx.calendarDate = monday.addDays(1);
    showDayTimetable(ctx);
    EXPECT_EQ(grid.rows(), 8);
    EXPECT_EQ(grid.cols(), 5);
    EXPECT_TRUE(filledCells().isEmpty());
    EXPECT_FALSE(QFile::exists(session.paths().scratchFile()));
}

TEST_F(Timetable, TimeColumnLeftOrRight)
{
    record.ShowTimeLesson = true;
    for (const bool right : {false, true}) {
        record.TimePlace = right;
        show(40);
        const int timeCol = right ? grid.cols() - 1 : 1;
        EXPECT_EQ(grid.text(0, timeCol), "Время занятия");
        EXPECT_EQ(grid.text(2, timeCol), "08:30-09:15");
        EXPECT_EQ(grid.text(3, timeCol), "09:25-10:10");
        EXPECT_EQ(grid.fixedCols(), right ? 1 : 2);
        EXPECT_EQ(grid.text(2, column("П-9")), "Матем  101");
        EXPECT_EQ(filledCells().size(), right ? 6 + 2 : 6); // two lessons have times
    }
}

TEST_F(Timetable, TooltipOfADayCell)
{
    show(40);
    EXPECT_EQ(dayTimetableTooltip(ctx, 3, 1),
              "Подгруппа 1\nПреподаватель: Петров\nДисциплина: Физика\n"
              "Тип занятия: Практическое занятие\nАудитория: 202\n"
              "Подгруппа 2\nПреподаватель: Иванов\nДисциплина: Математика\n"
              "Тип занятия: Лабораторная работа\nАудитория: 101");
    EXPECT_EQ(dayTimetableTooltip(ctx, 2, 1),
              "Преподаватель: Иванов\nДисциплина: Математика\nТип занятия: Лекция\n"
              "Аудитория: 101");
    EXPECT_TRUE(dayTimetableTooltip(ctx, 7, 1).isEmpty());
    EXPECT_TRUE(dayTimetableTooltip(ctx, 1, 1).isEmpty());
    EXPECT_TRUE(dayTimetableTooltip(ctx, 2, 0).isEmpty());
}

TEST_F(Timetable, WeekViewDaysAndTotals)
{
    record.ShowTotals = false;
    for (const int days : {5, 7}) {
        record.WorkDays = days;
        show(41);
        ASSERT_EQ(grid.rows(), 2 + days * 6);
        EXPECT_EQ(grid.fixedCols(), 3);
        EXPECT_TRUE(grid.outlineBar());
        const int c9 = column("П-9");
        const int c10 = column("П-10");
        EXPECT_EQ(grid.text(2 + 6 * 2, 1), "Среда");
        EXPECT_EQ(grid.text(2 + 6 * 2, c10), "Физ  202");
        EXPECT_EQ(grid.text(2, c9), "Матем  101");
        EXPECT_EQ(filledCells().size(), days == 5 ? 7 : 8);
        if (days == 7) {
            EXPECT_EQ(grid.text(2 + 6 * 5, c9), "Матем  101");
        }
    }

    record.WorkDays = 5;
    record.ShowTotals = true;
    show(41);
    int totals = 0;
    for (int r = 0; r < grid.rows(); ++r)
        totals += grid.isSubtotal(r) ? 1 : 0;
    EXPECT_EQ(totals, 5);
    const int mondayTotal = 2 + 6;
    ASSERT_TRUE(grid.isSubtotal(mondayTotal));
    EXPECT_EQ(grid.text(mondayTotal, column("П-9")), "3");
    EXPECT_EQ(grid.text(mondayTotal, column("П-10")), "1");
    EXPECT_EQ(grid.text(mondayTotal + 1, 1), "Вторник");

    // With the time column on the right the totals are labelled in the lesson column.
    record.ShowTimeLesson = true;
    record.TimePlace = true;
    show(41);
    EXPECT_EQ(grid.text(mondayTotal, 2), "Итого");
    EXPECT_TRUE(grid.text(mondayTotal, 1).isEmpty());
}

TEST_F(Timetable, SecondShiftRowsStandApart)
{
    record.WorkTimePeriod = 2;
    record.LessonsInPeriod = 3;
    show(40);
    const QColor grey(0xC0, 0xC0, 0xC0);
    EXPECT_NE(grid.cellBackColor(2 + 2, 0), grey);
    EXPECT_EQ(grid.cellBackColor(2 + 3, 0), grey);
    EXPECT_EQ(grid.cellBackColor(2 + 3, column("П-10")), grey);

    // Without colour display a lesson of the work schedule keeps the shift's colour.
    record.ShowColorItem = false;
    show(42);
    EXPECT_EQ(grid.text(2 + 4, 1), "П-9  Матем\r\nП-10  Матем");
    EXPECT_EQ(grid.cellBackColor(2 + 4, 1), grey);
}

TEST_F(Timetable, WorkScheduleByTutor)
{
    show(42);
    ASSERT_EQ(grid.fixedRows(), 2);
    EXPECT_EQ(grid.text(0, 0), "Преподаватели");
    const int ivanov = column("Иванов");
    ASSERT_EQ(ivanov, 1);
    EXPECT_EQ(grid.text(1, ivanov), "занятия");
    EXPECT_EQ(grid.cellPicture(0, ivanov), "TUTOR");
    EXPECT_EQ(grid.text(2, ivanov), "П-9  Матем");
    EXPECT_EQ(grid.cellBackColor(2, ivanov), colorFromBgr(kP9Color));
    EXPECT_EQ(grid.text(6, ivanov), "П-9  Матем\r\nП-10  Матем");
    EXPECT_EQ(grid.text(3, column("Петров")), "П-9  Физ");
    EXPECT_EQ(filledCells().size(), 6);
}

// The views read the week in one statement; they get the rows the views' saved queries give
// date by date, in the same order, whatever the lesson lacks.
TEST_F(Timetable, LessonsReadForAWeekAreTheSavedQueriesRows)
{
    b.lesson(monday, 6, ivanovMath, p10, 0);    // no auditorium
    b.lesson(monday, 6, 999, p9, a101);         // a job that is gone
    b.lesson(monday.addDays(1), 3, ivanovMath, 999, a101); // a group that is gone
    const auto line = [](const LessonTexts &t, const QString &course, const QString &faculty,
                         int lesson, int subGroup, const QColor &disc, const QColor &group) {
        return QStringList{t.group, course, faculty, t.tutor, t.discipline, t.discipline1,
                           t.auditoria, t.shortType, t.longType, QString::number(lesson),
                           QString::number(subGroup), disc.name(), group.name()}
            .join(u'|');
    };
    const AuditoriumLabels labels(b.db());
    const auto compare = [&](LessonOrder order) {
        QStringList saved;
        DocumentQueries queries(session, store, prompts);
        for (int day = 0; day < 7; ++day) {
            std::optional<Recordset> rs =
                queries.OpenTimeTable(monday.addDays(day), order == LessonOrder::ByGroup ? 0 : 1);
            if (!rs)
                return ADD_FAILURE();
            for (; !rs->isEof(); rs->moveNext()) {
                const auto text = [&](const char *field) { return rs->value(field).toString(); };
                const auto color = [&](const char *field) {
                    const QVariant v = rs->value(field);
                    return v.isNull() ? QColor() : colorFromBgr(quint32(v.toLongLong()));
                };
                saved << monday.addDays(day).toString(Qt::ISODate) + u'|'
                             + line(LessonTexts{text("Group"), text("Tutor"), text("Discipline"),
                                                text("Discipline1"),
                                                labels.label(text("Aud"), text("Corpus")),
                                                text("ShortTypeLesson"),
                                                text("LongTypeLesson")},
                                    text("Course"), text("TypeFaculty"), text("Lesson").toInt(),
                                    text("SubGroup").toInt(), color("DiscColor"),
                                    color("GroupColor"));
            }
        }
        QStringList read;
        for (const DatedLesson &d :
             readTimetableLessons(b.db(), {monday, monday.addDays(6), {}, {}, {}}, order, &labels)) {
            const PlacedLesson &l = d.lesson;
            read << d.date.toString(Qt::ISODate) + u'|'
                        + line(l.texts, l.course, l.faculty, l.lesson, l.subGroup, l.discColor,
                               l.groupColor);
        }
        EXPECT_EQ(read, saved);
        EXPECT_GE(saved.size(), 11);
    };
    compare(LessonOrder::ByGroup);
    compare(LessonOrder::ByTutor);
    // A planner's own query is what the views follow.
    const QString own = QString(b.db().queryDef("qryTimeTable").sql()).replace(
        "tblTimeTableContent.SubGroup, tblTimeTableContent.Key;",
        "tblTimeTableContent.SubGroup DESC, tblTimeTableContent.Key;");
    ASSERT_TRUE(own.contains("SubGroup DESC"));
    b.db().createQueryDef("qryTimeTable", own);
    compare(LessonOrder::ByGroup);
    // Narrowed to a group, a tutor or a lesson: those rows alone.
    const auto count = [&](const LessonSelection &s) {
        return readTimetableLessons(b.db(), s, LessonOrder::ByGroup, nullptr).size();
    };
    EXPECT_EQ(count({monday, monday, {p10}, {}, {}}), 3u);
    EXPECT_EQ(count({monday, monday, {}, {}, {5}}), 2u); // the lecture's two groups
    const int petrov = int(b.rawNumber("SELECT Key FROM tblTutors WHERE Tutor = 'Петров'"));
    EXPECT_EQ(count({monday, monday.addDays(6), {}, {petrov}, {}}), 3u);
}

} // namespace
} // namespace korvesta
