// The sample timetable. Each term gets a fortnightly pattern, as planners build one: every
// unit of the load is put on a day of the fortnight and a lesson where its groups, its
// tutors and an auditorium of the right kind are free, within the groups' shift and daily
// limits and outside the tutors' weekly exceptions. The pattern is then repeated over the
// study days of the term; a lesson falls out on a date when its tutor is away or its group
// has an exam, and once its load line has used up its hours.

#include "demomodel.h"

#include <algorithm>
#include <array>
#include <set>
#include <tuple>

namespace korvesta::demo {

namespace {

constexpr int kCycleDays = 2 * kWorkDays;
constexpr int kSlots = kCycleDays * kLessonsInDay;

int slotOf(int day, int lesson)
{
    return day * kLessonsInDay + lesson - 1;
}

struct Placement
{
    int unit = 0;
    int day = 0; // of the fortnight
    int lesson = 0;
    std::vector<int> rooms; // one per row, or one for a lecture
};

class Planner
{
public:
    Planner(const Institution &inst, int term);
    std::vector<Placement> place();

private:
    struct UnitInfo
    {
        std::vector<int> groups;
        std::vector<int> tutors;
        int firstLesson = 1;
        int lastLesson = kLessonsInDay;
    };

    bool fits(int u, int day, int start, int order, Placement &out);
    bool adjoins(int u, int day, int start) const;
    int chooseRoom(RoomKind kind, int tutor, int building, const std::vector<int> &taken, int day,
                   int start, int length, int rotate) const;
    void occupy(const Placement &p);
    bool busy(const std::vector<char> &table, int entity, int day, int start, int length) const;

    const Institution &m_inst;
    int m_term;
    std::vector<UnitInfo> m_info; // by unit
    std::vector<char> m_groupBusy, m_tutorBusy, m_roomBusy;
    std::vector<int> m_groupDay, m_tutorDay; // lessons per day of the fortnight
    std::vector<char> m_tutorBlocked;        // weekly exceptions, by weekday and lesson
    std::set<std::tuple<int, int, int>> m_groupDayDiscipline;
};

Planner::Planner(const Institution &inst, int term)
    : m_inst(inst)
    , m_term(term)
    , m_groupBusy(inst.groups.size() * kSlots, 0)
    , m_tutorBusy(inst.tutors.size() * kSlots, 0)
    , m_roomBusy(inst.rooms.size() * kSlots, 0)
    , m_groupDay(inst.groups.size() * kCycleDays, 0)
    , m_tutorDay(inst.tutors.size() * kCycleDays, 0)
    , m_tutorBlocked(inst.tutors.size() * kWorkDays * kLessonsInDay, 0)
{
    for (const TutorOut &out : inst.tutorOuts) {
        if (out.date.isValid())
            continue;
        for (int day = 1; day <= kWorkDays; ++day) {
            for (int lesson = 1; lesson <= kLessonsInDay; ++lesson) {
                if ((out.day == 0 || out.day == day) && (out.lesson == 0 || out.lesson == lesson))
                    m_tutorBlocked[size_t(out.tutor * kWorkDays * kLessonsInDay +
                                          slotOf(day - 1, lesson))] = 1;
            }
        }
    }
    m_info.resize(inst.units.size());
    for (size_t u = 0; u < inst.units.size(); ++u) {
        UnitInfo &info = m_info[u];
        for (int line : inst.units[u].lines) {
            const Line &l = inst.lines[size_t(line)];
            const int tutor = inst.jobs[size_t(l.job)].tutor;
            if (std::find(info.groups.begin(), info.groups.end(), l.group) == info.groups.end())
                info.groups.push_back(l.group);
            if (std::find(info.tutors.begin(), info.tutors.end(), tutor) == info.tutors.end())
                info.tutors.push_back(tutor);
        }
        for (int g : info.groups) {
            const Group &group = inst.groups[size_t(g)];
            info.firstLesson = std::max(info.firstLesson, group.firstLesson);
            info.lastLesson = std::min(info.lastLesson, group.firstLesson + 7);
        }
    }
}

bool Planner::busy(const std::vector<char> &table, int entity, int day, int start, int length) const
{
    for (int l = start; l < start + length; ++l) {
        if (table[size_t(entity * kSlots + slotOf(day, l))])
            return true;
    }
    return false;
}

int Planner::chooseRoom(RoomKind kind, int tutor, int building, const std::vector<int> &taken,
                        int day, int start, int length, int rotate) const
{
    auto usable = [&](int r) {
        return m_inst.rooms[size_t(r)].kind == kind &&
               std::find(taken.begin(), taken.end(), r) == taken.end() &&
               !busy(m_roomBusy, r, day, start, length);
    };
    const int preferred = m_inst.tutors[size_t(tutor)].defaultRoom;
    if (preferred >= 0 && usable(preferred))
        return preferred;
    const int count = int(m_inst.rooms.size());
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < count; ++i) {
            const int r = (i + rotate) % count;
            if ((m_inst.rooms[size_t(r)].building == building) == (pass == 0) && usable(r))
                return r;
        }
    }
    return -1;
}

bool Planner::fits(int u, int day, int start, int order, Placement &out)
{
    const Unit &unit = m_inst.units[size_t(u)];
    const UnitInfo &info = m_info[size_t(u)];
    const int length = unit.length;
    const int weekday = day % kWorkDays;
    for (int g : info.groups) {
        if (busy(m_groupBusy, g, day, start, length) ||
            m_groupDay[size_t(g * kCycleDays + day)] + length > m_inst.groups[size_t(g)].maxLessons)
            return false;
    }
    for (int t : info.tutors) {
        if (busy(m_tutorBusy, t, day, start, length) ||
            m_tutorDay[size_t(t * kCycleDays + day)] + length > kTutorLessonsInDay)
            return false;
        for (int l = start; l < start + length; ++l) {
            if (m_tutorBlocked[size_t(t * kWorkDays * kLessonsInDay + slotOf(weekday, l))])
                return false;
        }
    }
    out = {u, day, start, {}};
    const int building = m_inst.groups[size_t(info.groups.front())].building;
    // A lecture is read in one room to all its groups; subgroups sit in rooms of their own.
    const size_t rooms = unit.subgroups ? unit.lines.size() : 1;
    for (size_t row = 0; row < rooms; ++row) {
        const int tutor = m_inst.jobs[size_t(m_inst.lines[size_t(unit.lines[row])].job)].tutor;
        const int r =
            chooseRoom(unit.room, tutor, building, out.rooms, day, start, length, order * 7 + u);
        if (r < 0)
            return false;
        out.rooms.push_back(r);
    }
    return true;
}

// True when the lessons would start the groups' day or follow on from their other lessons.
bool Planner::adjoins(int u, int day, int start) const
{
    const int length = m_inst.units[size_t(u)].length;
    for (int g : m_info[size_t(u)].groups) {
        int first = 0;
        int last = 0;
        for (int l = 1; l <= kLessonsInDay; ++l) {
            if (m_groupBusy[size_t(g * kSlots + slotOf(day, l))]) {
                first = first ? first : l;
                last = l;
            }
        }
        const bool fitsIn = first == 0 ? start == m_inst.groups[size_t(g)].firstLesson
                                       : start == last + 1 || start + length == first;
        if (!fitsIn)
            return false;
    }
    return true;
}

void Planner::occupy(const Placement &p)
{
    const Unit &unit = m_inst.units[size_t(p.unit)];
    const UnitInfo &info = m_info[size_t(p.unit)];
    for (int l = p.lesson; l < p.lesson + unit.length; ++l) {
        for (int g : info.groups)
            m_groupBusy[size_t(g * kSlots + slotOf(p.day, l))] = 1;
        for (int t : info.tutors)
            m_tutorBusy[size_t(t * kSlots + slotOf(p.day, l))] = 1;
        for (int r : p.rooms)
            m_roomBusy[size_t(r * kSlots + slotOf(p.day, l))] = 1;
    }
    for (int g : info.groups) {
        m_groupDay[size_t(g * kCycleDays + p.day)] += unit.length;
        m_groupDayDiscipline.insert({g, p.day, unit.discipline});
    }
    for (int t : info.tutors)
        m_tutorDay[size_t(t * kCycleDays + p.day)] += unit.length;
}

std::vector<Placement> Planner::place()
{
    // Hardest first: lectures of several groups, then subgroups, pairs and single lessons;
    // within each, the groups take turns so that none is left with the leftovers.
    struct Key
    {
        int category, scarce, ordinal, group, unit;
        bool operator<(const Key &o) const
        {
            return std::tie(category, scarce, ordinal, group, unit) <
                   std::tie(o.category, o.scarce, o.ordinal, o.group, o.unit);
        }
    };
    std::vector<Key> keys;
    std::vector<int> ordinals(m_inst.groups.size() * 4, 0);
    for (int u = 0; u < int(m_inst.units.size()); ++u) {
        const Unit &unit = m_inst.units[size_t(u)];
        if (unit.term != m_term)
            continue;
        const int category =
            unit.subgroups ? 1 : (unit.lines.size() > 1 ? 0 : (unit.length == 2 ? 2 : 3));
        const int group = m_info[size_t(u)].groups.front();
        keys.push_back({category, unit.room == RoomKind::Classroom ? 1 : 0,
                        ordinals[size_t(group * 4 + category)]++, group, u});
    }
    std::sort(keys.begin(), keys.end());

    std::vector<Placement> placed;
    int order = 0;
    for (const Key &key : keys) {
        const int u = key.unit;
        const Unit &unit = m_inst.units[size_t(u)];
        const UnitInfo &info = m_info[size_t(u)];
        std::array<std::tuple<int, int, int, int>, kCycleDays> days;
        for (int d = 0; d < kCycleDays; ++d) {
            int repeated = 0;
            int load = 0;
            for (int g : info.groups) {
                repeated += int(m_groupDayDiscipline.count({g, d, unit.discipline}));
                load += m_groupDay[size_t(g * kCycleDays + d)];
            }
            days[size_t(d)] = {repeated, load, (d * 3 + key.group * 7 + key.ordinal) % kCycleDays,
                               d};
        }
        std::sort(days.begin(), days.end());
        // Lessons next to the groups' other lessons of the day first, so that students wait
        // between lessons as little as possible; anywhere in their shift if that fails.
        Placement p;
        bool done = false;
        const int step = unit.length == 2 ? 2 : 1;
        for (int pass = 0; pass < 2 && !done; ++pass) {
            for (const auto &candidate : days) {
                const int d = std::get<3>(candidate);
                for (int start = info.firstLesson;
                     !done && start + unit.length - 1 <= info.lastLesson; start += step) {
                    done = (pass == 1 || adjoins(u, d, start)) && fits(u, d, start, order, p);
                }
                if (done)
                    break;
            }
        }
        ++order;
        if (done) {
            occupy(p);
            placed.push_back(std::move(p));
        }
    }
    return placed;
}

QDate mondayOf(const QDate &d)
{
    return d.addDays(1 - d.dayOfWeek());
}

// Planned hours of a year placed in full: mostly a little above what the fortnightly
// pattern gives over the year; some lines run out before the year ends.
void sizeAsPlaced(Institution &inst, const std::vector<int> &natural,
                  const std::vector<int> &planned)
{
    Random rng(1903u);
    for (size_t l = 0; l < inst.lines.size(); ++l) {
        const int n = natural[l];
        int &hours = inst.lines[l].hours;
        if (n == 0)
            hours = std::max(2, planned[l] + planned[l] % 2);
        else if (rng.chance(15) && n > 10)
            hours = n - n % 2 - 2 * rng.between(1, 4);
        else
            hours = n + n % 2 + 2 * rng.between(0, 5);
    }
}

// Planned hours of a year under way: the whole year's lessons and a few more, so that every
// line still has hours to place when the pattern has run to the end of the year.
void sizeForTheYear(Institution &inst, const std::vector<int> &natural,
                    const std::vector<int> &planned)
{
    Random rng(1903u);
    for (size_t l = 0; l < inst.lines.size(); ++l) {
        const int n = std::max(natural[l], planned[l]);
        inst.lines[l].hours = std::max(2, n + n % 2 + 2 * rng.between(1, 4));
    }
}

// In a year under way, a few lines of one group that the planner has not started yet:
// about one in thirty of those with lessons before the date, at least two.
std::vector<char> notStarted(const Institution &inst, const std::vector<LessonRow> &rows)
{
    std::vector<char> deferred(inst.lines.size(), 0);
    if (!inst.placedUntil.isValid())
        return deferred;
    std::vector<char> candidate(inst.lines.size(), 0);
    for (const LessonRow &row : rows) {
        if (inst.calendar.workDays[size_t(row.day)] <= inst.placedUntil)
            candidate[size_t(row.line)] = 1;
    }
    for (const Unit &unit : inst.units) {
        if (unit.lines.size() > 1) {
            for (int line : unit.lines)
                candidate[size_t(line)] = 0; // a lecture stream or subgroups: shared
        }
    }
    std::vector<int> lines;
    for (int l = 0; l < int(inst.lines.size()); ++l) {
        if (candidate[size_t(l)])
            lines.push_back(l);
    }
    Random rng(2411u);
    rng.shuffle(lines);
    const size_t count = std::min(lines.size(), std::max<size_t>(2, lines.size() / 30));
    for (size_t i = 0; i < count; ++i)
        deferred[size_t(lines[i])] = 1;
    return deferred;
}

} // namespace

void placeLessons(Institution &inst)
{
    const Calendar &cal = inst.calendar;
    std::set<std::pair<int, qint64>> exams; // group, day
    for (const Line &line : inst.lines) {
        if (line.exam.isValid())
            exams.insert({line.group, line.exam.toJulianDay()});
    }
    std::set<std::tuple<int, qint64, int>> away; // tutor, day, lesson (0: the whole day)
    for (const TutorOut &out : inst.tutorOuts) {
        if (out.date.isValid())
            away.insert({out.tutor, out.date.toJulianDay(), out.lesson});
    }

    std::vector<LessonRow> rows;
    std::vector<int> planned(inst.lines.size(), 0);
    for (int term = 0; term < 2; ++term) {
        std::vector<Placement> placed = Planner(inst, term).place();
        std::array<std::vector<const Placement *>, kCycleDays> byDay;
        for (const Placement &p : placed)
            byDay[size_t(p.day)].push_back(&p);
        for (auto &list : byDay) {
            std::sort(list.begin(), list.end(), [&](const Placement *a, const Placement *b) {
                const int ga = inst.lines[size_t(inst.units[size_t(a->unit)].lines.front())].group;
                const int gb = inst.lines[size_t(inst.units[size_t(b->unit)].lines.front())].group;
                return std::tie(a->lesson, ga, a->unit) < std::tie(b->lesson, gb, b->unit);
            });
        }

        int termDays = 0;
        const QDate firstMonday = mondayOf(cal.termStart[term]);
        for (int i = 0; i < int(cal.workDays.size()); ++i) {
            const QDate &date = cal.workDays[size_t(i)];
            if (date < cal.termStart[term] || date > cal.termEnd[term])
                continue;
            ++termDays;
            const int week = int(firstMonday.daysTo(mondayOf(date)) / 7);
            const int cycleDay = (week % 2) * kWorkDays + date.dayOfWeek() - 1;
            for (const Placement *p : byDay[size_t(cycleDay)]) {
                const Unit &unit = inst.units[size_t(p->unit)];
                for (int lesson = p->lesson; lesson < p->lesson + unit.length; ++lesson) {
                    for (size_t r = 0; r < unit.lines.size(); ++r) {
                        const Line &line = inst.lines[size_t(unit.lines[r])];
                        const int tutor = inst.jobs[size_t(line.job)].tutor;
                        if (exams.count({line.group, date.toJulianDay()}) ||
                            away.count({tutor, date.toJulianDay(), 0}) ||
                            away.count({tutor, date.toJulianDay(), lesson}))
                            continue;
                        rows.push_back({i, lesson, unit.lines[r], unit.subgroups ? int(r) + 1 : 0,
                                        p->rooms[unit.subgroups ? r : 0], unit.kind});
                    }
                }
            }
        }
        for (const Unit &unit : inst.units) {
            if (unit.term != term)
                continue;
            for (int line : unit.lines)
                planned[size_t(line)] += unit.length * termDays / kCycleDays;
        }
    }

    std::vector<int> natural(inst.lines.size(), 0);
    for (const LessonRow &row : rows)
        ++natural[size_t(row.line)];
    if (inst.placedUntil.isValid())
        sizeForTheYear(inst, natural, planned);
    else
        sizeAsPlaced(inst, natural, planned);

    const std::vector<char> deferred = notStarted(inst, rows);
    std::vector<int> given(inst.lines.size(), 0);
    inst.lessons.clear();
    inst.lessons.reserve(rows.size());
    for (const LessonRow &row : rows) {
        if (inst.placedUntil.isValid() &&
            (cal.workDays[size_t(row.day)] > inst.placedUntil || deferred[size_t(row.line)]))
            continue;
        if (given[size_t(row.line)]++ < inst.lines[size_t(row.line)].hours)
            inst.lessons.push_back(row);
    }
}

} // namespace korvesta::demo
