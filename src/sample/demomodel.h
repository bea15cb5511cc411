#pragma once

// The sample institution in memory, before it is written: reference lists, teaching load,
// calendar and the lessons placed. Indexes point into the vectors of Institution; keys are
// given only when the rows are written.

#include "demodocument.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace korvesta::demo {

// Deterministic choices: the standard engine's output is fixed by the standard, while the
// library's distributions are not, so draws are taken from the raw numbers.
class Random
{
public:
    explicit Random(std::uint32_t seed)
        : m_engine(seed)
    {}
    int below(int n) { return n <= 1 ? 0 : int(m_engine() % std::uint32_t(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T> void shuffle(std::vector<T> &items)
    {
        for (int i = int(items.size()) - 1; i > 0; --i)
            std::swap(items[size_t(i)], items[size_t(below(i + 1))]);
    }

private:
    std::mt19937 m_engine;
};

enum class RoomKind { Classroom, Lecture, Computer, Lab, Sport };
enum class LessonKind { Lecture, Practice, LabWork, Seminar };

struct Faculty
{
    QString name;
    bool visible = true;
};

struct Specialization
{
    QString name;
    bool visible = true;
};

struct Room
{
    QString name;
    QString corpus;
    QString comment;
    RoomKind kind = RoomKind::Classroom;
    int building = 0;
};

struct Discipline
{
    QString shortName;
    QString fullName;
    int specialization = -1; // -1: the template's "отсутствует"
    int area = 0;            // who teaches it: tutors are grouped by area
    int level = 0;           // 0, 1, 2
    quint32 colour = 0xFFFFFF;
    RoomKind room = RoomKind::Classroom;
    LessonKind kind = LessonKind::Practice;
};

struct Tutor
{
    QString name;
    int area = 0;
    int defaultRoom = -1;
};

struct Group
{
    QString name;
    QString course;
    int faculty = -1; // -1: no faculty (the template's key 1)
    bool evening = false;
    bool paid = false;
    QString comment;
    quint32 colour = 0xFFFFFF;
    int firstLesson = 1; // the group's shift: lessons from here
    int maxLessons = 6;  // lessons a day at most
    int building = 0;
};

struct Job
{
    int tutor = 0;
    int discipline = 0;
};

struct Line
{
    int job = 0;
    int group = 0;
    int hours = 0;
    QDate exam;
    std::array<int, 2> lessons{}; // planned per fortnight in each term
    bool examined = false;        // ends with an exam
};

// An exception of a tutor; 0 and an invalid date stand for the empty fields.
struct TutorOut
{
    int tutor = 0;
    int day = 0;
    int lesson = 0;
    QDate date;
    int kind = 1;
};

// Something to place in the fortnightly pattern of a term: one row per line. A lecture
// has one line per group (one job), a subgroup lesson two lines of one group.
struct Unit
{
    int term = 0;
    std::vector<int> lines;
    bool subgroups = false;
    int length = 2; // a pair of lessons or a single one
    LessonKind kind = LessonKind::Practice;
    RoomKind room = RoomKind::Classroom;
    int discipline = 0;
};

struct Note
{
    QDate date;
    QString text;
};

struct Calendar
{
    QDate yearStart; // 1 September
    QDate yearEnd;   // 30 June
    QDate restStart; // the winter break
    QDate restEnd;
    std::vector<QDate> holidays;
    QDate termStart[2];
    QDate termEnd[2];
    std::vector<QDate> workDays; // study days: Monday to Friday, no holidays or break
    int readOnlyDays = 5;        // the first study days, already protected

    bool isHoliday(const QDate &d) const;
};

struct LessonRow
{
    int day = 0; // index into Calendar::workDays
    int lesson = 0;
    int line = 0;
    int subGroup = 0;
    int room = 0;
    LessonKind kind = LessonKind::Practice;
};

struct Institution
{
    Calendar calendar;
    QDate placedUntil; // lessons up to this date; invalid: the whole year
    std::vector<Faculty> faculties;
    std::vector<Specialization> specializations;
    std::vector<QString> lessonTimes;
    std::vector<Group> groups;
    std::vector<Discipline> disciplines;
    std::vector<Room> rooms;
    std::vector<Tutor> tutors;
    std::vector<Job> jobs;
    std::vector<Line> lines;
    std::vector<TutorOut> tutorOuts;
    std::vector<Unit> units;
    std::vector<Note> notes;
    std::vector<LessonRow> lessons;
};

constexpr int kLessonsInDay = 14;
constexpr int kWorkDays = 5;
constexpr int kTutorLessonsInDay = 8;

Calendar makeCalendar(int academicYear);
Institution buildInstitution(const DemoRequest &request);
// Exceptions of every shape and kind for about a third of the tutors.
void addTutorOuts(Institution &inst, Random &rng);
// Exam dates of the load lines that end with one, at the end of their last term.
void addExams(Institution &inst);
void addNotes(Institution &inst);
// In a sample compiled up to a date, a tutor who teaches much is away the week after it.
void addAwayNextWeek(Institution &inst);
// Places the units over the study days and sets each line's hours. A sample compiled up to
// a date keeps the lessons until then, and leaves a few lines not started.
void placeLessons(Institution &inst);

// Russian names and texts of the sample.
QString tutorName(Random &rng);
QString shortDisciplineName(const QString &fullName);
quint32 pastel(int hue, int variant);

} // namespace korvesta::demo
