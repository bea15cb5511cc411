// A timetable view brought up to date after a change, only where the change touched it, is
// the grid a whole fill gives: checked over a few hundred random changes and undos.

#include "data/database.h"
#include "data/history.h"
#include "support/viewfixture.h"
#include "views/timetable/timetablefills.h"
#include "views/timetable/timetablerefresh.h"

#include <QFile>

#include <random>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class TimetableRefresh : public ViewTest
{
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        record.LessonsInDay = 6;
        record.UseTypeFaculty = true;
        const int fit = b.add("tblTypeFaculty", {"TypeFaculty", "ФИТ"});
        const int fem = b.add("tblTypeFaculty", {"TypeFaculty", "ФЭМ"});
        const auto group = [&](const char *name, const char *course, QVariant faculty) {
            return b.add("tblGroups", {"Group", name, "Course", course, "Key_TypeFaculty",
                                       faculty, "GroupColor", 0x0080FF});
        };
        groups = {group("П-9", "1", QVariant()), group("П-10", "1", QVariant()),
                  group("ИС-21", "2", fem), group("ИС-21", "2", fit), group("П-11", "1", fit)};
        const int math = b.add("tblDisciplines", {"Discipline", "Матем", "Discipline1",
                                                  "Математика", "DiscColor", 0x00FF00});
        const int phys = b.add("tblDisciplines", {"Discipline", "Физ", "Discipline1", "Физика"});
        const int hist = b.add("tblDisciplines", {"Discipline", "Ист", "Discipline1", "История",
                                                  "DiscColor", 0x3050A0});
        const int ivanov = b.add("tblTutors", {"Tutor", "Иванов"});
        const int petrov = b.add("tblTutors", {"Tutor", "Петров"});
        const int orlova = b.add("tblTutors", {"Tutor", "Орлова"});
        jobs = {b.job(ivanov, math), b.job(ivanov, hist), b.job(petrov, phys),
                b.job(orlova, hist)};
        auditoriums = {0, b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Главный"}),
                       b.add("tblAuditories", {"Auditoria", "101", "Corpus", "Корпус Б"}),
                       b.add("tblAuditories", {"Auditoria", "202", "Corpus", "Главный"})};
        for (int i = 0; i < 40; ++i)
            addLesson();
    }

    int pick(const std::vector<int> &from) { return from[random() % from.size()]; }
    QDate someDate() { return monday.addDays(qint64(random() % 6)); }
    TimetableTouch addLesson()
    {
        const QDate date = someDate();
        const int lesson = 1 + int(random() % 7); // 7 lies beyond the day's lessons
        b.lesson(date, lesson, pick(jobs), pick(groups), pick(auditoriums), int(random() % 3));
        return {{date}, {lesson}};
    }
    // A lesson of the week, chosen at random: its key, date and lesson number.
    std::optional<std::tuple<int, QDate, int>> someLesson()
    {
        const QStringList row = b.raw(
            QStringLiteral("SELECT c.Key, d.Date, c.Lesson FROM tblTimeTableContent c JOIN "
                           "tblTimeTableList d ON d.Key = c.Key_TTList ORDER BY c.Key LIMIT 1 "
                           "OFFSET %1")
                .arg(random() % std::max<qint64>(1, b.rawNumber("SELECT count(*) FROM "
                                                                "tblTimeTableContent"))));
        if (row.isEmpty())
            return std::nullopt;
        const QStringList cells = row.front().split(u'|');
        return std::tuple(cells[0].toInt(), QDate::fromString(cells[1].left(10), Qt::ISODate),
                          cells[2].toInt());
    }
    // One change of the timetable, as an undoable step; what it touched.
    TimetableTouch change()
    {
        const History::Step step(b.db(), QStringLiteral("изменение"));
        const auto lesson = someLesson();
        const int kind = int(random() % 4);
        if (kind == 0 || !lesson)
            return addLesson();
        const auto [key, date, number] = *lesson;
        if (kind == 1) {
            b.raw(QStringLiteral("DELETE FROM tblTimeTableContent WHERE Key = %1").arg(key));
            return {{date}, {number}};
        }
        if (kind == 2) {
            b.raw(QStringLiteral("UPDATE tblTimeTableContent SET Key_Aud = %1, Key_Job = %2 "
                                 "WHERE Key = %3")
                      .arg(pick(auditoriums))
                      .arg(pick(jobs))
                      .arg(key));
            return {{date}, {number}};
        }
        const int moved = 1 + int(random() % 6);
        b.raw(QStringLiteral("UPDATE tblTimeTableContent SET Lesson = %1 WHERE Key = %2")
                  .arg(moved)
                  .arg(key));
        return {{date}, {number, moved}};
    }

    void show(ViewContext &into, int code)
    {
        into.viewCode = code;
        into.calendarDate = ctx.calendarDate;
        if (code == 40)
            showDayTimetable(into);
        else if (code == 41)
            showWeekTimetable(into);
        else
            showWorkSchedule(into);
    }
    // Everything a grid shows, a line per row and a line of column widths; and the day
    // view's tooltips.
    QStringList shown(const GridModel &g) const
    {
        QStringList out;
        QStringList widths;
        for (int c = 0; c < g.cols(); ++c)
            widths << QString::number(g.colWidth(c));
        out << widths.join(u' ');
        for (int r = 0; r < g.rows(); ++r) {
            QStringList cells{QString::number(g.rowHeight(r)), QString::number(g.isSubtotal(r))};
            for (int c = 0; c < g.cols(); ++c)
                cells << g.text(r, c) + u'/' + g.cellBackColor(r, c).name() + u'/'
                             + g.cellForeColor(r, c).name() + u'/'
                             + QString::number(g.cellBold(r, c)) + u'/' + g.cellPicture(r, c);
            out << cells.join(u'|');
        }
        QFile tooltips(session.paths().scratchFile());
        if (ctx.viewCode == 40 && tooltips.open(QIODevice::ReadOnly))
            out << QString::fromUtf8(tooltips.readAll());
        return out;
    }

    std::mt19937 random{20261208};
    QDate monday{2026, 12, 7};
    std::vector<int> groups, jobs, auditoriums;
};

TEST_F(TimetableRefresh, ARefreshedViewIsTheViewFilledWhole)
{
    History *history = History::attach(b.db());
    ASSERT_NE(history, nullptr);
    int refreshed = 0, filled = 0;
    for (int round = 0; round < 12; ++round) {
        const int code = 40 + round % 3;
        record.ShowTotals = round % 4 != 1;
        record.ShowColorItem = round % 5 != 2;
        ctx.calendarDate = monday.addDays(round % 6);
        show(ctx, code);
        for (int step = 0; step < 25; ++step) {
            TimetableTouch touch;
            if (step % 5 == 4 && history->canUndo()) {
                history->undo([&](const std::vector<QDate> &dates,
                                  const std::vector<std::pair<int, int>> &) {
                    touch.dates = dates;
                    return 0;
                });
            } else {
                touch = change();
            }
            if (refreshTimetable(ctx, touch)) {
                ++refreshed;
            } else {
                ++filled;
                show(ctx, code);
            }
            const QStringList afterRefresh = shown(grid);
            GridModel whole;
            ObjectList wholeObjects;
            ViewContext wholeCtx{whole, wholeObjects, session, store, record, prompts};
            show(wholeCtx, code);
            ASSERT_EQ(afterRefresh, shown(whole)) << "view " << code << ", round " << round
                                                  << ", step " << step;
        }
    }
    EXPECT_GT(refreshed, 10 * filled); // the whole fill is the exception
    // Another view, or another shape of the grid, is filled whole.
    ctx.viewCode = 30;
    EXPECT_FALSE(refreshTimetable(ctx, {{monday}, {}}));
    ctx.viewCode = 41;
    grid.setCols(grid.cols() + 1);
    EXPECT_FALSE(refreshTimetable(ctx, {{monday}, {}}));
}

} // namespace
} // namespace korvesta
