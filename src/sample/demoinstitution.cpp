// The sample institution: a college of several faculties with its groups, disciplines,
// auditoriums, tutors and teaching load. The calendar is made in democalendar.cpp, the
// timetable placed in demotimetable.cpp.

#include "demonames.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

namespace korvesta::demo {

namespace {

struct BuildingPlan
{
    const char *name;
    int lecture, computer, lab, sport, classroom;
};

struct SizePlan
{
    std::vector<BuildingPlan> buildings;
    int groupsPerCourse[8][4]; // by specialty and course
    int preparatoryGroups;
    int tutors;
    int facultyBuilding[4];
    int preparatoryBuilding;
};

const SizePlan &sizePlan(DemoSize size)
{
    static const SizePlan small{
        {{"Главный", 1, 2, 1, 1, 6}, {"Корпус Б", 1, 0, 0, 0, 3}},
        {{2, 1, 1, 0}, {0, 0, 0, 0}, {1, 1, 0, 0}, {0, 0, 0, 0}, {2, 1, 0, 0}},
        1,
        15,
        {0, 0, 1, 1},
        1,
    };
    static const SizePlan large{
        {{"Главный", 3, 11, 2, 2, 20}, {"Корпус Б", 2, 2, 5, 1, 14}, {"Корпус В", 1, 1, 1, 1, 14}},
        {{5, 5, 4, 4},
         {4, 4, 4, 3},
         {4, 4, 3, 3},
         {3, 3, 3, 3},
         {5, 4, 4, 4},
         {4, 4, 3, 3},
         {4, 4, 3, 3},
         {4, 3, 3, 3}},
        3,
        250,
        {0, 0, 2, 1},
        2,
    };
    return size == DemoSize::Small ? small : large;
}

// Lessons of a fortnight given to lectures when a discipline is read to a whole course.
int lectureLessons(int lessons)
{
    return lessons >= 8 ? 4 : (lessons >= 2 ? 2 : 0);
}

// One teaching assignment of the plan, before tutors are chosen.
struct Need
{
    int discipline = 0;
    std::vector<int> groups;
    std::array<int, 2> lessons{};
    Mode mode = Mode::Plain;
    bool singles = false;
    bool professional = false;
    std::array<int, 2> tutors{-1, -1};

    int roles() const { return mode == Mode::Subgroups ? 2 : 1; }
    // Lessons of one tutor in a term.
    int tutorLessons(int term) const
    {
        const int l = lessons[size_t(term)];
        if (mode != Mode::Stream)
            return l;
        const int lecture = lectureLessons(l);
        return lecture + (l - lecture) * int(groups.size());
    }
};

class Builder
{
public:
    Builder(DemoSize size, int academicYear)
        : m_size(size)
        , m_plan(sizePlan(size))
        , m_rng(0x4B565431u)
    {
        m_inst.calendar = makeCalendar(academicYear);
    }

    Institution build()
    {
        addTypeLists();
        addRooms();
        addGroups();
        addDisciplines();
        addPlan();
        addTutors();
        assignTutors();
        addLoad();
        addCurators();
        addTutorOuts(m_inst, m_rng);
        addExams(m_inst);
        addNotes(m_inst);
        return std::move(m_inst);
    }

private:
    void addTypeLists();
    void addRooms();
    void addGroups();
    void addDisciplines();
    int addDiscipline(const QString &fullName, const QString &shortName, int area, int cycle,
                      RoomKind room, LessonKind kind, int level);
    int generalDiscipline(const char *fullName);
    int specialtyDiscipline(int specialty, int index);
    void addPlan();
    void addSpecialtyPlan(int specialty, int course, const std::vector<int> &groups,
                          std::array<int, 2> general);
    void addNeed(Need need);
    void addTutors();
    void assignTutors();
    void addLoad();
    int jobOf(int tutor, int discipline);
    int lineOf(int job, int group);
    void addCurators();

    DemoSize m_size;
    const SizePlan &m_plan;
    Random m_rng;
    Institution m_inst;

    std::vector<int> m_groupSpecialty;                         // -1: preparatory courses
    std::map<std::pair<int, int>, std::vector<int>> m_streams; // (specialty, course) -> groups
    std::set<int> m_specialtyTaught;
    std::map<QString, int> m_disciplineByName;
    std::set<QString> m_shortNames;
    std::vector<Need> m_needs;
    std::vector<int> m_areaTutorsBegin; // by area, plus one end marker
    std::map<std::pair<int, int>, int> m_jobs;
    std::map<std::pair<int, int>, int> m_lines;
};

void Builder::addTypeLists()
{
    for (const char *name : facultyNames())
        m_inst.faculties.push_back({QString::fromUtf8(name), true});
    m_inst.faculties[FacultyExtramural].visible = false; // closed, kept for old documents
    for (int c = 0; c < CycleCount; ++c)
        m_inst.specializations.push_back({cycleName(c), c != CycleFormer});

    // Pairs of 45-minute lessons: five minutes inside a pair, fifteen between pairs, and a
    // longer break for lunch after the second pair.
    QTime t(8, 30);
    for (int lesson = 1; lesson <= kLessonsInDay; ++lesson) {
        const QTime end = t.addSecs(45 * 60);
        m_inst.lessonTimes.push_back(t.toString(QStringLiteral("H:mm")) + u'-' +
                                     end.toString(QStringLiteral("H:mm")));
        const int gap = lesson % 2 == 1 ? 5 : (lesson == 4 ? 30 : 15);
        t = end.addSecs(gap * 60);
    }
}

void Builder::addRooms()
{
    int sportHall = 0;
    for (int b = 0; b < int(m_plan.buildings.size()); ++b) {
        const BuildingPlan &plan = m_plan.buildings[size_t(b)];
        const QString corpus = QString::fromUtf8(plan.name);
        std::vector<RoomKind> kinds;
        kinds.insert(kinds.end(), size_t(plan.lecture), RoomKind::Lecture);
        kinds.insert(kinds.end(), size_t(plan.lab), RoomKind::Lab);
        kinds.insert(kinds.end(), size_t(plan.computer), RoomKind::Computer);
        kinds.insert(kinds.end(), size_t(plan.classroom), RoomKind::Classroom);
        for (int i = 0; i < int(kinds.size()); ++i) {
            Room room;
            room.name = QString::number((1 + i / 10) * 100 + i % 10 + 1);
            room.corpus = corpus;
            room.kind = kinds[size_t(i)];
            room.building = b;
            if (room.kind == RoomKind::Lecture)
                room.comment =
                    QStringLiteral("Лекционная аудитория, %1 мест").arg(60 + 30 * (i % 3));
            else if (room.kind == RoomKind::Computer)
                room.comment = QStringLiteral("Компьютерный класс, 15 рабочих мест");
            else if (room.kind == RoomKind::Lab)
                room.comment = QStringLiteral("Учебная лаборатория");
            m_inst.rooms.push_back(room);
        }
        for (int i = 0; i < plan.sport; ++i) {
            const auto halls = sportHalls();
            m_inst.rooms.push_back({QString::fromUtf8(halls[size_t(sportHall++) % halls.size()]),
                                    corpus, QString(), RoomKind::Sport, b});
        }
    }
}

void Builder::addGroups()
{
    static const int facultyHue[] = {210, 120, 30, 280};
    const auto specs = specialties();
    for (int s = 0; s < int(specs.size()); ++s) {
        const SpecialtyInfo &spec = specs[size_t(s)];
        for (int course = 1; course <= 4; ++course) {
            const int count = m_plan.groupsPerCourse[s][course - 1];
            for (int n = 1; n <= count; ++n) {
                Group g;
                g.name = QStringLiteral("%1-%2%3")
                             .arg(QString::fromUtf8(spec.prefix))
                             .arg(course)
                             .arg(n);
                g.course = QString::number(course);
                g.faculty = spec.faculty;
                g.paid = n >= 3 || (s == SpecPO && n == 2);
                g.colour = pastel(facultyHue[spec.faculty], int(m_inst.groups.size()));
                // First and third courses study in the morning, the others after them.
                g.firstLesson = course % 2 == 1 ? 1 : 7;
                g.building = m_plan.facultyBuilding[spec.faculty];
                m_streams[{s, course}].push_back(int(m_inst.groups.size()));
                m_specialtyTaught.insert(s);
                m_inst.groups.push_back(g);
                m_groupSpecialty.push_back(s);
            }
        }
    }
    // Evening preparatory courses belong to no faculty.
    for (int n = 1; n <= m_plan.preparatoryGroups; ++n) {
        Group g;
        g.name = QStringLiteral("ПК-%1").arg(n);
        g.course = QStringLiteral("1");
        g.evening = true;
        g.paid = true;
        g.comment = QStringLiteral("Подготовительные курсы, вечернее отделение");
        g.colour = pastel(50, n);
        g.firstLesson = 11;
        g.maxLessons = 4;
        g.building = m_plan.preparatoryBuilding;
        m_inst.groups.push_back(g);
        m_groupSpecialty.push_back(-1);
    }
}

int Builder::addDiscipline(const QString &fullName, const QString &shortName, int area, int cycle,
                           RoomKind room, LessonKind kind, int level)
{
    QString name = shortName;
    for (int n = 2; m_shortNames.count(name); ++n)
        name = shortName + QString::number(n);
    m_shortNames.insert(name);
    Discipline d;
    d.shortName = name;
    d.fullName = fullName;
    d.specialization = cycle;
    d.area = area;
    d.level = level;
    d.room = room;
    d.kind = kind;
    d.colour = pastel(areaHue(area), int(m_inst.disciplines.size()));
    m_disciplineByName[fullName] = int(m_inst.disciplines.size());
    m_inst.disciplines.push_back(d);
    return int(m_inst.disciplines.size()) - 1;
}

void Builder::addDisciplines()
{
    // The large sample lists every discipline of its specialties, taught this year or not;
    // the small one only those it teaches (added as the plan names them) and a few old ones.
    const bool everything = m_size == DemoSize::Large;
    if (everything) {
        for (const SubjectInfo &s : generalSubjects()) {
            if (s.area < GeneralAreaCount || m_specialtyTaught.count(s.area - GeneralAreaCount))
                generalDiscipline(s.fullName);
        }
        for (int s : m_specialtyTaught) {
            for (int i = 0; i < int(specialties()[size_t(s)].subjects.size()); ++i)
                specialtyDiscipline(s, i);
        }
    }
    const auto former = formerSubjects();
    for (size_t i = 0; i < (everything ? former.size() : 4); ++i) {
        const QString name = QString::fromUtf8(former[i]);
        addDiscipline(name, shortDisciplineName(name), AreaHumanities, CycleFormer,
                      RoomKind::Classroom, LessonKind::Practice, m_rng.below(2));
    }
}

int Builder::generalDiscipline(const char *fullName)
{
    const QString name = QString::fromUtf8(fullName);
    if (const auto it = m_disciplineByName.find(name); it != m_disciplineByName.end())
        return it->second;
    for (const SubjectInfo &s : generalSubjects()) {
        if (name == QString::fromUtf8(s.fullName))
            return addDiscipline(name, QString::fromUtf8(s.shortName), s.area, s.cycle, s.room,
                                 s.kind, s.level);
    }
    return -1;
}

// A discipline of a specialty's list; one that several specialties share keeps the
// description of the general list.
int Builder::specialtyDiscipline(int specialty, int index)
{
    const SpecialtyInfo &spec = specialties()[size_t(specialty)];
    const char *fullName = spec.subjects[size_t(index)];
    const int known = generalDiscipline(fullName);
    if (known >= 0)
        return known;
    const QString name = QString::fromUtf8(fullName);
    const int cycle = index == 0 ? -1 : (index <= 8 ? CycleProfessionalBasics : CycleModules);
    const RoomKind room = index % 3 == 1 ? spec.specialRoom : RoomKind::Classroom;
    const LessonKind kind =
        room == RoomKind::Classroom ? LessonKind::Practice : LessonKind::LabWork;
    return addDiscipline(name, shortDisciplineName(name), GeneralAreaCount + specialty, cycle, room,
                         kind, std::min(2, m_rng.below(3) + (index > 8 ? 1 : 0)));
}

void Builder::addNeed(Need need)
{
    if (need.lessons[0] + need.lessons[1] == 0)
        return;
    if (need.mode == Mode::Stream && need.groups.size() < 2)
        need.mode = Mode::Plain;
    if (need.mode == Mode::Stream) {
        m_needs.push_back(std::move(need));
        return;
    }
    for (int g : need.groups) {
        Need one = need;
        one.groups = {g};
        m_needs.push_back(std::move(one));
    }
}

void Builder::addPlan()
{
    constexpr int lessonsPerFortnight = 50;
    for (const auto &[key, groups] : m_streams) {
        const auto [specialty, course] = key;
        std::array<int, 2> general{};
        for (const PlanEntry &e : generalPlan()) {
            if (e.course != course)
                continue;
            Need need;
            need.discipline = generalDiscipline(e.fullName);
            need.groups = groups;
            need.lessons = {e.lessons[0], e.lessons[1]};
            need.mode = e.mode;
            need.singles = e.singles;
            general[0] += e.lessons[0];
            general[1] += e.lessons[1];
            addNeed(std::move(need));
        }
        addSpecialtyPlan(specialty, course, groups,
                         {std::max(0, lessonsPerFortnight - general[0]),
                          std::max(0, lessonsPerFortnight - general[1])});
        // An elective of the group's own choice on the second and third courses.
        if (course == 2 || course == 3) {
            std::vector<const char *> electives;
            for (const SubjectInfo &s : generalSubjects()) {
                if (s.cycle == CycleElectives)
                    electives.push_back(s.fullName);
            }
            for (int g : groups) {
                Need need;
                need.discipline =
                    generalDiscipline(electives[size_t(g * 5 + course) % electives.size()]);
                need.groups = {g};
                need.lessons = {2, 2};
                need.singles = true;
                addNeed(std::move(need));
            }
        }
    }
    std::vector<int> preparatory;
    for (int g = 0; g < int(m_inst.groups.size()); ++g) {
        if (m_groupSpecialty[size_t(g)] < 0)
            preparatory.push_back(g);
    }
    if (preparatory.empty())
        return;
    for (const PlanEntry &e : generalPlan()) {
        if (e.course != 0)
            continue;
        Need need;
        need.discipline = generalDiscipline(e.fullName);
        need.groups = preparatory;
        need.lessons = {e.lessons[0], e.lessons[1]};
        need.singles = e.singles;
        addNeed(std::move(need));
    }
}

// Spreads the specialty's disciplines of a course over the two terms so that each term gets
// its share of lessons: some run all year, others one term only.
void Builder::addSpecialtyPlan(int specialty, int course, const std::vector<int> &groups,
                               std::array<int, 2> remaining)
{
    const SpecialtyInfo &spec = specialties()[size_t(specialty)];
    const int first = course == 1 ? 0 : (course == 2 ? 1 : (course == 3 ? 9 : 20));
    const int last =
        course == 1 ? 1 : (course == 2 ? 9 : (course == 3 ? 20 : int(spec.subjects.size())));
    const int n = last - first;
    std::vector<std::array<int, 2>> lessons(size_t(n), std::array<int, 2>{});
    for (int i = 0; i < n; ++i) {
        auto &l = lessons[size_t(i)];
        const int size = i % 2 == 0 ? 4 : 6;
        switch (i % 3) {
        case 0:
            l = {std::min(4, remaining[0]), std::min(4, remaining[1])};
            break;
        case 1:
            l[0] = std::min(size, remaining[0]);
            if (l[0] == 0)
                l[1] = std::min(size, remaining[1]);
            break;
        default:
            l[1] = std::min(size, remaining[1]);
            if (l[1] == 0)
                l[0] = std::min(size, remaining[0]);
            break;
        }
        remaining[0] -= l[0];
        remaining[1] -= l[1];
    }
    for (int term = 0; term < 2; ++term) {
        for (int i = 0; remaining[size_t(term)] >= 2 && n > 0; i = (i + 1) % n) {
            auto &l = lessons[size_t(i)];
            const bool anyInTerm = std::any_of(lessons.begin(), lessons.end(),
                                               [&](const auto &x) { return x[size_t(term)] > 0; });
            if (l[size_t(term)] > 0 || !anyInTerm) {
                l[size_t(term)] += 2;
                remaining[size_t(term)] -= 2;
            }
        }
    }
    for (int i = 0; i < n; ++i) {
        if (lessons[size_t(i)][0] + lessons[size_t(i)][1] == 0)
            continue;
        const int index = first + i;
        Need need;
        need.discipline = specialtyDiscipline(specialty, index);
        const Discipline &d = m_inst.disciplines[size_t(need.discipline)];
        need.groups = groups;
        need.lessons = lessons[size_t(i)];
        need.professional = true;
        if (d.room == spec.specialRoom && d.room != RoomKind::Classroom && index % 4 == 1 &&
            spec.faculty != FacultyEconomics)
            need.mode = Mode::Subgroups;
        else if (index % 3 == 0)
            need.mode = Mode::Stream;
        addNeed(std::move(need));
    }
}

void Builder::addTutors()
{
    const int areas = GeneralAreaCount + int(specialties().size());
    std::vector<long> demand(size_t(areas), 0);
    std::vector<int> minimum(size_t(areas), 0);
    for (const Need &n : m_needs) {
        const int a = m_inst.disciplines[size_t(n.discipline)].area;
        demand[size_t(a)] += long(n.roles()) * (n.tutorLessons(0) + n.tutorLessons(1));
        minimum[size_t(a)] = std::max(minimum[size_t(a)], n.roles());
    }
    long total = 0;
    for (long d : demand)
        total += d;
    std::vector<int> count(size_t(areas), 0);
    int sum = 0;
    for (int a = 0; a < areas; ++a) {
        count[size_t(a)] = std::max<int>(
            minimum[size_t(a)], int(demand[size_t(a)] * m_plan.tutors / std::max(1L, total)));
        sum += count[size_t(a)];
    }
    auto ratio = [&](int a) { return double(demand[size_t(a)]) / std::max(1, count[size_t(a)]); };
    while (sum < m_plan.tutors) {
        int best = -1;
        for (int a = 0; a < areas; ++a) {
            if (demand[size_t(a)] > 0 && (best < 0 || ratio(a) > ratio(best)))
                best = a;
        }
        ++count[size_t(best)];
        ++sum;
    }
    while (sum > m_plan.tutors) {
        int best = -1;
        for (int a = 0; a < areas; ++a) {
            if (count[size_t(a)] > minimum[size_t(a)] && (best < 0 || ratio(a) < ratio(best)))
                best = a;
        }
        if (best < 0)
            break;
        --count[size_t(best)];
        --sum;
    }

    std::set<QString> names;
    for (int a = 0; a < areas; ++a) {
        m_areaTutorsBegin.push_back(int(m_inst.tutors.size()));
        for (int k = 0; k < count[size_t(a)]; ++k) {
            QString name;
            do {
                name = tutorName(m_rng);
            } while (names.count(name));
            names.insert(name);
            m_inst.tutors.push_back({name, a, -1});
        }
    }
    m_areaTutorsBegin.push_back(int(m_inst.tutors.size()));

    // Usual auditoriums: the cabinet of the area in its home building, a lab, a computer
    // class or a sports hall; a few tutors have none.
    for (int a = 0; a < areas; ++a) {
        const int begin = m_areaTutorsBegin[size_t(a)];
        const int end = m_areaTutorsBegin[size_t(a) + 1];
        if (begin == end)
            continue;
        RoomKind kind = RoomKind::Classroom;
        int building = 0;
        if (a == AreaSport)
            kind = RoomKind::Sport;
        else if (a == AreaInformatics)
            kind = RoomKind::Computer;
        else if (a == AreaSciences)
            kind = RoomKind::Lab;
        if (a >= GeneralAreaCount) {
            const SpecialtyInfo &spec = specialties()[size_t(a - GeneralAreaCount)];
            building = m_plan.facultyBuilding[spec.faculty];
            if (spec.faculty == FacultyIT || spec.specialRoom == RoomKind::Lab)
                kind = spec.specialRoom;
        }
        std::vector<int> rooms;
        const int wanted =
            kind == RoomKind::Classroom ? std::min(3, (end - begin + 2) / 3) : end - begin;
        for (int pass = 0; pass < 2 && int(rooms.size()) < wanted; ++pass) {
            for (int r = 0; r < int(m_inst.rooms.size()) && int(rooms.size()) < wanted; ++r) {
                Room &room = m_inst.rooms[size_t(r)];
                if (room.kind != kind || (pass == 0) != (room.building == building))
                    continue;
                if (kind == RoomKind::Classroom) {
                    if (!room.comment.isEmpty())
                        continue;
                    room.comment = QString::fromUtf8(areaCabinet(a));
                }
                rooms.push_back(r);
            }
        }
        for (int t = begin; t < end; ++t) {
            if (!rooms.empty() && t % 12 != 11)
                m_inst.tutors[size_t(t)].defaultRoom = rooms[size_t(t - begin) % rooms.size()];
        }
    }
}

void Builder::assignTutors()
{
    const int count = int(m_inst.tutors.size());
    std::vector<std::array<int, 2>> load(size_t(count), std::array<int, 2>{});
    std::set<std::pair<int, int>> teaches;
    std::vector<int> order(m_needs.size());
    for (int i = 0; i < int(order.size()); ++i)
        order[size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const Need &x = m_needs[size_t(a)];
        const Need &y = m_needs[size_t(b)];
        return x.tutorLessons(0) + x.tutorLessons(1) > y.tutorLessons(0) + y.tutorLessons(1);
    });
    for (int index : order) {
        Need &need = m_needs[size_t(index)];
        const int area = m_inst.disciplines[size_t(need.discipline)].area;
        const std::array<int, 2> add{need.tutorLessons(0), need.tutorLessons(1)};
        for (int role = 0; role < need.roles(); ++role) {
            int best = -1;
            int bestScore = 0;
            for (int t = m_areaTutorsBegin[size_t(area)]; t < m_areaTutorsBegin[size_t(area) + 1];
                 ++t) {
                if (role == 1 && t == need.tutors[0])
                    continue;
                const int score =
                    std::max(load[size_t(t)][0] + add[0], load[size_t(t)][1] + add[1]) +
                    (teaches.count({t, need.discipline}) ? 0 : 6);
                if (best < 0 || score < bestScore) {
                    best = t;
                    bestScore = score;
                }
            }
            need.tutors[size_t(role)] = best;
            load[size_t(best)][0] += add[0];
            load[size_t(best)][1] += add[1];
            teaches.insert({best, need.discipline});
        }
    }
}

int Builder::jobOf(int tutor, int discipline)
{
    const auto [it, added] = m_jobs.try_emplace({tutor, discipline}, int(m_inst.jobs.size()));
    if (added)
        m_inst.jobs.push_back({tutor, discipline});
    return it->second;
}

int Builder::lineOf(int job, int group)
{
    const auto [it, added] = m_lines.try_emplace({job, group}, int(m_inst.lines.size()));
    if (added)
        m_inst.lines.push_back({job, group, 0, QDate()});
    return it->second;
}

void Builder::addLoad()
{
    for (const Need &need : m_needs) {
        const Discipline &d = m_inst.disciplines[size_t(need.discipline)];
        std::vector<int> lines;
        std::vector<int> partners;
        const int job = jobOf(need.tutors[0], need.discipline);
        for (int g : need.groups)
            lines.push_back(lineOf(job, g));
        if (need.mode == Mode::Subgroups)
            partners.push_back(lineOf(jobOf(need.tutors[1], need.discipline), need.groups[0]));
        for (int line : lines) {
            m_inst.lines[size_t(line)].lessons = need.lessons;
            m_inst.lines[size_t(line)].examined = need.mode != Mode::Subgroups && !need.singles &&
                                                  d.area != AreaSport &&
                                                  d.specialization != CycleElectives;
        }
        for (int line : partners)
            m_inst.lines[size_t(line)].lessons = need.lessons;

        for (int term = 0; term < 2; ++term) {
            int lessons = need.lessons[size_t(term)];
            Unit unit;
            unit.term = term;
            unit.discipline = need.discipline;
            unit.room = d.room;
            if (need.mode == Mode::Subgroups) {
                unit.lines = {lines[0], partners[0]};
                unit.subgroups = true;
                unit.kind = d.room == RoomKind::Classroom ? d.kind : LessonKind::LabWork;
                for (int k = 0; k < lessons / 2; ++k)
                    m_inst.units.push_back(unit);
                continue;
            }
            if (need.mode == Mode::Stream) {
                Unit lecture = unit;
                lecture.lines = lines;
                lecture.kind = LessonKind::Lecture;
                lecture.room = RoomKind::Lecture;
                const int lecturePairs = lectureLessons(lessons) / 2;
                for (int k = 0; k < lecturePairs; ++k)
                    m_inst.units.push_back(lecture);
                lessons -= 2 * lecturePairs;
            }
            for (int line : lines) {
                unit.lines = {line};
                unit.length = need.singles ? 1 : 2;
                const int count = need.singles ? lessons : lessons / 2;
                for (int k = 0; k < count; ++k) {
                    // A discipline of the specialty read to one group starts with a lecture;
                    // general ones taught to a whole group are practice, not lab work.
                    if (need.professional && need.mode == Mode::Plain && k == 0)
                        unit.kind = LessonKind::Lecture;
                    else if (need.professional || d.kind != LessonKind::LabWork)
                        unit.kind = d.kind;
                    else
                        unit.kind = LessonKind::Practice;
                    m_inst.units.push_back(unit);
                }
            }
        }
    }
}

void Builder::addCurators()
{
    for (int g = 0; g < int(m_inst.groups.size()); ++g) {
        Group &group = m_inst.groups[size_t(g)];
        if (!group.comment.isEmpty() || g % 7 == 3)
            continue;
        for (const Line &line : m_inst.lines) {
            if (line.group == g) {
                const Tutor &t = m_inst.tutors[size_t(m_inst.jobs[size_t(line.job)].tutor)];
                group.comment = QStringLiteral("Куратор: ") + t.name;
                break;
            }
        }
    }
}

} // namespace

Institution buildInstitution(const DemoRequest &request)
{
    Institution inst = Builder(request.size, request.academicYear).build();
    inst.placedUntil = request.placedUntil;
    if (inst.placedUntil.isValid())
        addAwayNextWeek(inst);
    placeLessons(inst);
    return inst;
}

} // namespace korvesta::demo
