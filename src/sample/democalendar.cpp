// The sample's calendar: the study year with its break and public holidays, the tutors'
// exceptions, the exams at the end of each term and the notes on dates.

#include "demomodel.h"

#include <algorithm>
#include <array>

namespace korvesta::demo {

bool Calendar::isHoliday(const QDate &d) const
{
    return (d >= restStart && d <= restEnd) ||
           std::find(holidays.begin(), holidays.end(), d) != holidays.end();
}

Calendar makeCalendar(int academicYear)
{
    const int y = academicYear;
    Calendar c;
    c.yearStart = QDate(y, 9, 1);
    c.yearEnd = QDate(y + 1, 6, 30);
    c.restStart = QDate(y, 12, 29);
    c.restEnd = QDate(y + 1, 1, 11);
    c.holidays = {QDate(y, 11, 4),    QDate(y + 1, 2, 23), QDate(y + 1, 3, 8),
                  QDate(y + 1, 5, 1), QDate(y + 1, 5, 9),  QDate(y + 1, 6, 12)};
    c.termStart[0] = c.yearStart;
    c.termEnd[0] = c.restStart.addDays(-1);
    c.termStart[1] = c.restEnd.addDays(1);
    c.termEnd[1] = c.yearEnd;
    for (QDate d = c.yearStart; d <= c.yearEnd; d = d.addDays(1)) {
        if (d.dayOfWeek() <= kWorkDays && !c.isHoliday(d))
            c.workDays.push_back(d);
    }
    return c;
}

// Every shape of exception and every kind: weekly days off, weekly free pairs, a first pair
// never given, sick leave, business trips, holidays and a pair off on one date.
void addTutorOuts(Institution &inst, Random &rng)
{
    enum Shape { WeekDay, WeekPair, DailyPair, Sick, Trip, Leave, DatePair, ShapeCount };
    const int tutors = int(inst.tutors.size());
    std::vector<int> order(static_cast<size_t>(tutors));
    for (int t = 0; t < tutors; ++t)
        order[size_t(t)] = t;
    rng.shuffle(order);
    const int withOuts = std::max<int>(ShapeCount, tutors * 35 / 100);
    const auto &days = inst.calendar.workDays;
    auto runOfDays = [&](int tutor, int length, int kind) {
        const int start = rng.below(int(days.size()) - length);
        for (int i = 0; i < length; ++i)
            inst.tutorOuts.push_back({tutor, 0, 0, days[size_t(start + i)], kind});
    };
    for (int i = 0; i < std::min(withOuts, tutors); ++i) {
        const int t = order[size_t(i)];
        const int pair = rng.between(1, 4);
        switch (i % ShapeCount) {
        case WeekDay:
            inst.tutorOuts.push_back({t, rng.between(1, kWorkDays), 0, QDate(), 1});
            break;
        case WeekPair: {
            const int day = rng.between(1, kWorkDays);
            inst.tutorOuts.push_back({t, day, 2 * pair - 1, QDate(), 1});
            inst.tutorOuts.push_back({t, day, 2 * pair, QDate(), 1});
            break;
        }
        case DailyPair:
            inst.tutorOuts.push_back({t, 0, 1, QDate(), 1});
            inst.tutorOuts.push_back({t, 0, 2, QDate(), 1});
            break;
        case Sick:
            runOfDays(t, rng.between(3, 8), 2);
            break;
        case Trip:
            runOfDays(t, rng.between(2, 4), 3);
            break;
        case Leave:
            runOfDays(t, rng.between(5, 10), 4);
            break;
        default: {
            const QDate date = days[size_t(rng.below(int(days.size())))];
            inst.tutorOuts.push_back({t, 0, 2 * pair - 1, date, 1});
            inst.tutorOuts.push_back({t, 0, 2 * pair, date, 1});
            break;
        }
        }
    }
}

// Exams at the end of the term in which a discipline ends, every other study day.
void addExams(Institution &inst)
{
    const Calendar &cal = inst.calendar;
    std::array<std::vector<QDate>, 2> window;
    for (const QDate &d : cal.workDays) {
        const int term = d <= cal.termEnd[0] ? 0 : 1;
        window[size_t(term)].push_back(d);
    }
    const std::array<int, 2> limit{4, 5};
    for (int g = 0; g < int(inst.groups.size()); ++g) {
        std::array<int, 2> given{};
        for (int l = 0; l < int(inst.lines.size()); ++l) {
            Line &line = inst.lines[size_t(l)];
            if (line.group != g || !line.examined)
                continue;
            const auto &lessons = line.lessons;
            const int term = lessons[1] > 0 ? 1 : 0;
            if (lessons[size_t(term)] < 4 || given[size_t(term)] >= limit[size_t(term)])
                continue;
            const auto &days = window[size_t(term)];
            const int fromEnd = 1 + g % 2 + 2 * (limit[size_t(term)] - 1 - given[size_t(term)]++);
            line.exam = days[days.size() - size_t(fromEnd)];
        }
    }
}

void addAwayNextWeek(Institution &inst)
{
    const QDate monday = inst.placedUntil.addDays(8 - inst.placedUntil.dayOfWeek());
    const Calendar &cal = inst.calendar;
    if (monday > cal.yearEnd)
        return;
    const int term = monday < cal.termStart[1] ? 0 : 1;
    // The tutor with the most lessons in that term among those without dated exceptions,
    // so that the absence shows on many dates and clashes with no other one.
    std::vector<int> units(inst.tutors.size(), 0);
    for (const Unit &unit : inst.units) {
        if (unit.term == term)
            units[size_t(inst.jobs[size_t(inst.lines[size_t(unit.lines.front())].job)].tutor)] +=
                unit.length;
    }
    for (const TutorOut &out : inst.tutorOuts) {
        if (out.date.isValid())
            units[size_t(out.tutor)] = -1;
    }
    const auto most = std::max_element(units.begin(), units.end());
    if (most == units.end() || *most <= 0)
        return;
    const int tutor = int(most - units.begin());
    constexpr int kBusinessTrip = 3;
    for (int day = 0; day < kWorkDays; ++day)
        inst.tutorOuts.push_back({tutor, 0, 0, monday.addDays(day), kBusinessTrip});
}

namespace {

QDate nthWeekday(int year, int month, int weekday, int n)
{
    QDate d(year, month, 1);
    while (d.dayOfWeek() != weekday)
        d = d.addDays(1);
    return d.addDays(7 * (n - 1));
}

} // namespace

void addNotes(Institution &inst)
{
    const Calendar &cal = inst.calendar;
    const int y = cal.yearStart.year();
    auto workDayFrom = [&](QDate d, int step) {
        while (d.dayOfWeek() > kWorkDays || cal.isHoliday(d))
            d = d.addDays(step);
        return d;
    };
    const std::pair<QDate, const char *> notes[] = {
        {cal.workDays.front(), "Торжественная линейка в 8:00 у главного входа.\r\n"
                               "Занятия по расписанию с 8:30."},
        {nthWeekday(y, 9, 4, 3), "Родительское собрание первого курса в 18:00, актовый зал."},
        {nthWeekday(y, 10, 6, 2), "День открытых дверей с 11:00.\r\n"
                                  "Дежурят кураторы первых курсов."},
        {nthWeekday(y, 11, 3, 3), "Педагогический совет в 15:00, методический кабинет."},
        {workDayFrom(cal.termEnd[0], -1),
         "Последний день сдачи зачётных ведомостей за первое полугодие."},
        {workDayFrom(cal.termStart[1], 1), "Начало второго полугодия. Проверить замены в "
                                           "расписании."},
        {nthWeekday(y + 1, 2, 5, 2), "Олимпиада по программированию для студентов 2-3 курсов, "
                                     "13:00, компьютерные классы."},
        {workDayFrom(QDate(y + 1, 3, 7), -1), "Праздничный концерт в 14:00."},
        {nthWeekday(y + 1, 4, 6, 3), "Субботник: уборка территории колледжа с 10:00."},
        {workDayFrom(cal.yearEnd, -1), "Вручение дипломов выпускникам в 12:00."},
    };
    for (const auto &[date, text] : notes)
        inst.notes.push_back({date, QString::fromUtf8(text)});
}

} // namespace korvesta::demo
