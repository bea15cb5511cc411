// Free and busy objects of a lesson, a tutor's absences counted over a period, and the tutor
// passport, on a document built here. Every state and count is compared with what the test
// works out from the lessons and absences it wrote itself.

#include "data/queries.h"
#include "grid/gridcolors.h"
#include "support/viewfixture.h"
#include "views/freebusy/exceptioncount.h"
#include "views/freebusy/freebusylist.h"
#include "views/freebusy/tutorpassport.h"
#include "views/timetable/timetablefills.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace korvesta {
namespace {

using exceptioncount::PerKind;

struct Placed
{
    QDate date;
    int lesson;
    int tutor, discipline, group, auditorium, typeLesson;
};

// A row of tblTutorOut; 0 stands for Null.
struct Out
{
    int day = 0;
    int lesson = 0;
    QDate date;
    int kind = 1;
};

const QDate kWednesday(2025, 3, 5);
const QDate kNoTimetable(2025, 3, 6); // a Thursday without a row of its own

class FreeBusy : public ViewTest
{
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        registerViewFills(registry);
        grid.setClientWidth(15000);
        record.LessonsInDay = 4;
        const int shown = b.add("tblTypeFaculty", {"TypeFaculty", "ФИТ"});
        const int hidden = b.add("tblTypeFaculty", {"TypeFaculty", "ФЭМ"});
        store.writeBool(QStringLiteral("Faculty"), QString::number(hidden), false);
        for (const auto &[name, faculty] : {std::pair("П-9", 1), std::pair("ИС-21", shown),
                                            std::pair("ЭК-31", hidden), std::pair("Д'Арт", 1)})
            groups.push_back(b.add("tblGroups", {"Group", name, "Course", "1",
                                                 "Key_TypeFaculty", faculty}));
        hiddenGroup = groups[2];
        for (const char *name : {"Матем", "Физ", "Хим"})
            disciplines.push_back(b.add("tblDisciplines", {"Discipline", name,
                                                           "Discipline1", QString(name) + "ика"}));
        for (const char *name : {"101", "202", "303"})
            rooms.push_back(b.add("tblAuditories", {"Auditoria", name, "Corpus", "Главный"}));
        for (const char *name : {"Иванов", "Петров", "Сидоров", "О'Нил"})
            tutors.push_back(b.add("tblTutors", {"Tutor", name}));
    }

    void place(const QDate &date, int lesson, int tutor, int discipline, int group, int room,
               int typeLesson = 1)
    {
        b.lesson(date, lesson, b.job(tutor, discipline), group, room, 0, typeLesson);
        placed.push_back({date, lesson, tutor, discipline, group, room, typeLesson});
    }
    void absent(int tutor, const Out &o)
    {
        const auto orNull = [](int v) { return v ? QVariant(v) : QVariant(); };
        b.add("tblTutorOut", {"KeyTutor", tutor, "FreeDay", orNull(o.day), "FreeLesson",
                              orNull(o.lesson), "FreeLocalDate",
                              o.date.isValid() ? QVariant(o.date) : QVariant(), "KeyTypeOut",
                              o.kind});
        outs[tutor].push_back(o);
    }

    // The timetable of the test: a lecture of Иванов for two groups at lesson 1, Петров and
    // О'Нил at lesson 2, Сидоров away on Wednesdays at lesson 3, Петров away every day at
    // lesson 4 and О'Нил on the whole of the Thursday.
    void buildDay()
    {
        place(kWednesday, 1, tutors[0], disciplines[0], groups[0], rooms[0]);
        place(kWednesday, 1, tutors[0], disciplines[0], groups[1], rooms[0]);
        place(kWednesday, 2, tutors[1], disciplines[1], groups[2], rooms[1]);
        place(kWednesday, 2, tutors[3], disciplines[2], groups[3], rooms[2]);
        absent(tutors[2], {3, 3, {}, 1});
        absent(tutors[1], {0, 4, {}, 2});
        absent(tutors[3], {0, 0, kNoTimetable, 3});
    }

    // Whether the test's own lessons and absences keep the record busy.
    bool expectedBusy(freebusy::Kind kind, int key, const QDate &date, int lesson) const
    {
        for (const Placed &p : placed) {
            if (p.date != date || p.lesson != lesson)
                continue;
            const int of[] = {p.group, p.discipline, p.auditorium, p.tutor};
            if (of[int(kind) - 1] == key)
                return true;
        }
        if (kind != freebusy::Kind::Tutors || !outs.count(key))
            return false;
        for (const Out &o : outs.at(key)) {
            const bool lessonMatches = o.lesson == 0 || o.lesson == lesson;
            const bool dayMatches = o.date.isValid() ? o.date == date
                                    : o.day ? o.day == date.dayOfWeek()
                                            : o.lesson != 0;
            if (lessonMatches && dayMatches)
                return true;
        }
        return false;
    }

    std::vector<int> keysOf(freebusy::Kind kind) const
    {
        switch (kind) {
        case freebusy::Kind::Groups: {
            std::vector<int> shown = groups;
            std::erase(shown, hiddenGroup);
            return shown;
        }
        case freebusy::Kind::Disciplines:
            return disciplines;
        case freebusy::Kind::Auditoriums:
            return rooms;
        default:
            return tutors;
        }
    }

    DocumentQueries queries{session, store, prompts};
    std::vector<int> groups, disciplines, rooms, tutors;
    int hiddenGroup = 0;
    std::vector<Placed> placed;
    std::map<int, std::vector<Out>> outs;
};

TEST_F(FreeBusy, EveryKindAtEveryLessonIsFreeOrBusyAsTheTimetableSays)
{
    buildDay();
    for (const QDate &date : {kWednesday, kNoTimetable}) {
        for (int kind = 1; kind <= 4; ++kind) {
            for (int lesson = 0; lesson <= 4; ++lesson) {
                const auto k = freebusy::Kind(kind);
                SCOPED_TRACE(QStringLiteral("%1 kind %2 lesson %3")
                                 .arg(date.toString(Qt::ISODate))
                                 .arg(kind)
                                 .arg(lesson)
                                 .toStdString());
                const std::optional<freebusy::List> list =
                    freebusy::read(queries, store, k, lesson, date);
                ASSERT_TRUE(list);
                // Lesson 0, the lesson-number column, stands for the first lesson.
                const int asked = std::max(lesson, 1);
                EXPECT_EQ(list->lesson, asked);
                std::set<int> listed;
                for (const freebusy::Item &item : list->items) {
                    listed.insert(item.key);
                    EXPECT_EQ(item.free, !expectedBusy(k, item.key, date, asked)) << item.key;
                }
                const std::vector<int> keys = keysOf(k);
                EXPECT_EQ(listed, std::set<int>(keys.begin(), keys.end()));
            }
        }
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(FreeBusy, ThePaneFollowsTheCellOfTheDayAndWeekTimetables)
{
    buildDay();
    ctx.calendarDate = kWednesday;
    ctx.tab = 3;
    const auto busyTutors = [&] {
        QStringList busy;
        for (const ObjectListEntry &entry : objects.entries) {
            if (bgrFromColor(entry.foreColor) == 255u)
                busy << entry.texts[0];
        }
        return busy;
    };
    // Free in black, busy in red (0x00BBGGRR 255).
    for (const int code : {40, 41}) {
        SCOPED_TRACE(code);
        ctx.viewCode = code;
        // The week timetable is shown from another day of the same week.
        ctx.calendarDate = code == 41 ? kWednesday.addDays(-2) : kWednesday;
        registry.find(code)->fill(ctx);
        const TimetableLayout layout = TimetableLayout::ofGrid(
            code == 40 ? TimetableKind::Day : TimetableKind::Week, record, grid);
        int row = 0; // lesson 2 of the Wednesday, found as a planner reads the grid
        while (row < grid.rows()
               && (layout.lessonOfRow(grid, row) != 2
                   || (code == 41 && layout.weekdayOfRow(grid, row) != 3)))
            ++row;
        ASSERT_LT(row, grid.rows());
        grid.setCurrentCell(row, layout.firstObjectCol);
        registry.find(code)->paneRefill(ctx);
        EXPECT_EQ(busyTutors(), QStringList({"О'Нил", "Петров"}));
        // A heading: the first lesson of the calendar's day (the Monday of the week view
        // has none).
        grid.setCurrentCell(0, layout.firstObjectCol);
        registry.find(code)->paneRefill(ctx);
        EXPECT_EQ(busyTutors(), code == 40 ? QStringList({"Иванов"}) : QStringList());
    }
    ctx.viewCode = 40;
    ctx.calendarDate = kWednesday;
    ctx.tab = 0;
    registry.find(40)->fill(ctx);
    grid.setCurrentCell(TimetableLayout::ofGrid(TimetableKind::Day, record, grid).rowOf(1, 4), 0);
    registry.find(40)->paneRefill(ctx);
    EXPECT_EQ(objects.headers, QStringList({"Группы", "Курс"}));
    ASSERT_EQ(objects.entries.size(), 3u); // ЭК-31's faculty is hidden
    const ObjectListEntry &p9 = objects.entries[0];
    EXPECT_EQ(p9.key, QStringLiteral("it%1").arg(groups[0]));
    EXPECT_EQ(p9.texts, QStringList({"П-9", "1"}));
    EXPECT_EQ(p9.icon, QStringLiteral("GROUP"));
    for (const ObjectListEntry &entry : objects.entries)
        EXPECT_EQ(bgrFromColor(entry.foreColor), 0u); // nobody at lesson 4
}

struct CountCase
{
    const char *name;
    std::vector<Out> outs;
    std::vector<std::pair<QDate, int>> lessons; // the tutor's lessons: date, lesson number
    QDate first, last;
};

// Independently of the program: the days the absences take out, walking the dates one by
// one, and the lessons they cover, looking at each lesson.
std::pair<PerKind, PerKind> expectedCounts(const CountCase &c)
{
    PerKind days{}, lessons{};
    const QDate lo = std::min(c.first, c.last), hi = std::max(c.first, c.last);
    const auto inSlots = [](int kind) { return kind >= 0 && kind < exceptioncount::Kinds; };
    std::set<std::pair<int, QDate>> dayOff;        // kind, date
    std::set<std::tuple<int, QDate, int>> lessonOff; // kind, date, lesson
    std::map<int, int> weekdayKind, everyDay, weekly;
    for (const Out &o : c.outs) {
        if (o.date.isValid() && o.date >= lo && o.date <= hi) {
            if (o.lesson)
                lessonOff.insert({o.kind, o.date, o.lesson});
            else
                dayOff.insert({o.kind, o.date});
        } else if (!o.date.isValid() && o.day && !o.lesson) {
            weekdayKind[o.day] = o.kind;
        } else if (!o.date.isValid() && o.day) {
            weekly[o.day * 100 + o.lesson] = o.kind;
        } else if (!o.date.isValid() && o.lesson) {
            everyDay[o.lesson] = o.kind;
        }
    }
    for (const auto &[kind, date] : dayOff) {
        if (inSlots(kind))
            ++days[size_t(kind)];
    }
    for (const auto &[kind, date, lesson] : lessonOff) {
        if (inSlots(kind))
            ++lessons[size_t(kind)];
    }
    const int step = c.first <= c.last ? 1 : -1;
    for (QDate d = c.first; d != c.last; d = d.addDays(step)) {
        const auto kind = weekdayKind.find(d.dayOfWeek());
        if (kind == weekdayKind.end() || !inSlots(kind->second))
            continue;
        bool teaches = false, counted = false;
        for (const auto &[date, lesson] : c.lessons)
            teaches = teaches || date == d;
        for (const auto &[k, date] : dayOff)
            counted = counted || date == d;
        if (!teaches && !counted)
            ++days[size_t(kind->second)];
    }
    std::set<std::pair<QDate, int>> distinct(c.lessons.begin(), c.lessons.end());
    for (const auto &[date, lesson] : distinct) {
        if (date < lo || date > hi)
            continue;
        bool singly = false;
        for (const auto &[k, d, l] : lessonOff)
            singly = singly || (d == date && l == lesson);
        int kind = -1;
        if (const auto w = weekly.find(date.dayOfWeek() * 100 + lesson); w != weekly.end())
            kind = w->second;
        else if (const auto e = everyDay.find(lesson); e != everyDay.end())
            kind = e->second;
        if (!singly && inSlots(kind))
            ++lessons[size_t(kind)];
    }
    return {days, lessons};
}

TEST_F(FreeBusy, AbsencesCountTheDaysAndLessonsTheyTakeOutOfThePeriod)
{
    const QDate mon(2025, 3, 3), wed(2025, 3, 5), thu(2025, 3, 6);
    const CountCase cases[] = {
        {"a period of one day counts no weekday off", {{3, 0, {}, 1}}, {}, wed, wed},
        {"a Wednesday taught is not a day off",
         {{3, 0, {}, 1}},
         {{wed.addDays(7), 2}},
         mon,
         mon.addDays(35)},
        {"a period given backwards walks back to its start",
         {{3, 0, {}, 2}, {0, 0, thu, 4}},
         {},
         wed.addDays(14),
         wed},
        {"overlapping absences count each day once",
         {{3, 0, {}, 1},
          {3, 0, {}, 3}, // the same weekday again: the later kind
          {0, 0, wed.addDays(7), 2},
          {0, 0, wed.addDays(7), 2}, // twice the same date
          {0, 0, thu, 4},
          {0, 0, thu, 5}}, // one date, two kinds
         {},
         mon,
         mon.addDays(27)},
        {"kinds outside the slots are left out",
         {{1, 0, {}, 7}, {0, 0, thu, 6}, {0, 2, thu, 9}},
         {{thu, 2}},
         mon,
         mon.addDays(20)},
        {"a lesson off every day, on a weekday, or on a date, each lesson once",
         {{0, 2, {}, 1},    // lesson 2 every day
          {1, 2, {}, 3},    // lesson 2 on Mondays
          {0, 3, thu, 4},   // lesson 3 of one Thursday
          {0, 3, {}, 2}},   // lesson 3 every day
         {{mon, 2}, {mon, 2}, {wed, 2}, {thu, 3}, {thu, 1}, {mon.addDays(7), 2},
          {mon.addDays(7), 3}, {mon.addDays(40), 2}},
         mon,
         mon.addDays(14)},
    };
    const int room = rooms[0];
    for (const CountCase &c : cases) {
        SCOPED_TRACE(c.name);
        // A tutor of his own for each case, teaching at the lessons given.
        const int tutor = b.add("tblTutors", {"Tutor", QString::fromUtf8(c.name)});
        const int job = b.job(tutor, disciplines[0]);
        for (const auto &[date, lesson] : c.lessons)
            b.lesson(date, lesson, job, groups[0], room);
        for (const Out &o : c.outs)
            absent(tutor, o);
        PerKind days{}, lessons{};
        exceptioncount::countDays(b.db(), tutor, days, c.first, c.last);
        exceptioncount::countLessons(b.db(), tutor, lessons, c.first, c.last);
        const auto [expectedDays, expectedLessons] = expectedCounts(c);
        EXPECT_EQ(days, expectedDays);
        EXPECT_EQ(lessons, expectedLessons);
    }
}

TEST_F(FreeBusy, ThePassportShowsTheLoadAndTheAbsencesWithTheirTotals)
{
    buildDay();
    const int ivanov = tutors[0];
    place(kWednesday.addDays(1), 1, ivanov, disciplines[0], groups[0], rooms[0], 2);
    place(kWednesday.addDays(7), 1, ivanov, disciplines[0], groups[0], rooms[0]);
    place(kWednesday.addDays(60), 1, ivanov, disciplines[0], groups[0], rooms[0]); // outside
    absent(ivanov, {5, 0, {}, 1});               // Fridays
    absent(ivanov, {0, 0, QDate(2025, 3, 11), 2}); // a Tuesday
    absent(ivanov, {0, 1, {}, 4});               // lesson 1 every day
    ctx.viewCode = 32;
    ctx.periodFrom = QDate(2025, 3, 1);
    ctx.periodTo = QDate(2025, 3, 31);
    registry.find(32)->objectChosen(ctx, {QStringLiteral("tu%1").arg(ivanov), {}, {}});
    ASSERT_TRUE(prompts.shown.empty());

    // The load lines, counted from the lessons placed in the period.
    std::map<std::pair<int, int>, int> perLine; // type of lesson, group
    for (const Placed &p : placed) {
        if (p.tutor == ivanov && p.date >= ctx.periodFrom && p.date <= ctx.periodTo)
            ++perLine[{p.typeLesson, p.group}];
    }
    using namespace passport;
    int row = grid.fixedRows();
    EXPECT_EQ(grid.text(row++, BlockCol), Title);
    EXPECT_EQ(grid.text(row, TypeCol), QStringLiteral("Тип занятия"));
    EXPECT_EQ(grid.text(row++, CountCol), Hours);
    int load = 0;
    for (const auto &[line, count] : perLine) {
        EXPECT_EQ(grid.text(row, BlockCol), LoadBlock);
        EXPECT_EQ(grid.text(row, DisciplineCol), QStringLiteral("Матем"));
        EXPECT_EQ(grid.text(row, CountCol).toInt(), count) << row;
        EXPECT_EQ(grid.cellPicture(row, GroupCol), QStringLiteral("GROUP"));
        load += count;
        ++row;
    }
    EXPECT_EQ(grid.text(row, BlockCol), LoadTotal);
    EXPECT_TRUE(grid.isSubtotal(row));
    EXPECT_EQ(grid.text(row++, CountCol).toInt(), load);
    EXPECT_EQ(grid.text(row++, TypeCol), QStringLiteral("Тип исключения"));

    // Fridays of March 2025: 7, 14, 21, 28; a Tuesday; lesson 1 of the three days taught
    // (a lecture for two groups is one lesson).
    const std::map<QString, std::pair<int, int>> expected = {
        {QStringLiteral("Отгул"), {4, 0}},
        {QStringLiteral("По болезни"), {1, 0}},
        {QStringLiteral("Коммандировка"), {0, 0}},
        {QStringLiteral("Отпуск"), {0, 3}},
    };
    int excepted = 0;
    for (int i = 0; i < 4; ++i, row += 2) {
        const QString kind = grid.text(row, TypeCol);
        ASSERT_TRUE(expected.count(kind)) << kind.toStdString();
        EXPECT_EQ(grid.text(row, BlockCol), ExceptionBlock);
        EXPECT_EQ(grid.text(row, DisciplineCol), Days);
        EXPECT_EQ(grid.text(row, CountCol).toInt(), expected.at(kind).first) << kind.toStdString();
        EXPECT_EQ(grid.text(row + 1, DisciplineCol), Hours);
        EXPECT_EQ(grid.text(row + 1, CountCol).toInt(), expected.at(kind).second);
        excepted += expected.at(kind).second;
    }
    EXPECT_EQ(grid.text(row, BlockCol), ExceptionTotal);
    EXPECT_EQ(grid.text(row++, CountCol).toInt(), excepted);
    EXPECT_EQ(grid.text(row, BlockCol), GrandTotal);
    EXPECT_EQ(grid.rowOutlineLevel(row), -1);
    EXPECT_EQ(grid.text(row, CountCol).toInt(), load + excepted);
    EXPECT_EQ(row, grid.rows() - 1);
}

} // namespace
} // namespace korvesta
