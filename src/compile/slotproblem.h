#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace korvesta {

// A period to compile as the solver sees it: numbered days of numbered lessons, the load
// lines with how many lessons each should get and the lessons each may take, what the
// timetable already holds, and the limits. Nothing here knows the document; the compiler
// fills it from one and writes the plan back.
struct SlotProblem
{
    int days = 0;
    int lessonsPerDay = 0; // a slot is day * lessonsPerDay + lesson - 1
    int groups = 0;
    int tutors = 0;
    int groupDayLimit = 0; // lessons a day; 0 for none
    int tutorDayLimit = 0;
    int lectureGroups = 1; // the most groups one lecture is read to

    struct Line
    {
        int group = 0;
        int tutor = 0;
        int job = 0;       // the line of the tutor's load (tutor and discipline) it belongs to
        int target = 0;    // lessons the line should get in the period
        int levelDiff = 0; // the discipline's difficulty
        // Lines of one group with the same number here (not -1) teach its subgroups: they may
        // meet at once, each subgroup with its own tutor.
        int subgroups = -1;
        std::vector<int> open; // the slots it may take, ascending
    };
    std::vector<Line> lines;

    // What the timetable holds already (kept as it is): [group][slot], [tutor][slot].
    std::vector<std::vector<std::uint8_t>> groupTaken;
    std::vector<std::vector<std::uint8_t>> tutorTaken;
    // Auditoriums free at each slot.
    std::vector<int> freeAuditoriums;

    int slotCount() const { return days * lessonsPerDay; }
    int dayOf(int slot) const { return slot / lessonsPerDay; }
    int lessonOf(int slot) const { return slot % lessonsPerDay + 1; }
};

// The weights of the soft goals, each against one lesson placed (which weighs 1000).
struct SoftWeights
{
    int groupGap = 300;    // a break in a group's day
    int tutorGap = 60;     // a break in a tutor's day
    int twiceADay = 120;   // a discipline twice in a group's day
    int subgroupsApart = 150; // a lesson of subgroups the other subgroups do not have then
    int lateLesson = 2;    // a lesson a number later in the day
    int hardLate = 10;     // a difficult discipline a number later
};

struct SolveOptions
{
    unsigned seed = 1;
    double timeLimitSeconds = 10;
    SoftWeights weights;
    const std::atomic<bool> *cancel = nullptr;
    // Called with each better plan's lessons placed and cost (lower is better).
    std::function<void(int placed, long long cost)> progress;
};

struct SlotPlan
{
    std::vector<std::vector<int>> chosen; // the slots given to each line, ascending
    int placed = 0;
    int groupGaps = 0;
    int tutorGaps = 0;
    long long cost = 0;
    bool complete = false; // the search ended before its time limit
    bool cancelled = false;
    bool found = false; // a plan was found in the time (an empty plan counts)
};

// Places as many lessons of the lines' targets as the hard rules let, then as well as the
// soft goals can be met in the time: a constraint model searched by branch and bound, then
// improved by large-neighbourhood search (a few groups' days freed at a time) until it stops
// finding better plans. The same problem and seed give the same plan when the search ends
// before the time limit.
SlotPlan solveSlots(const SlotProblem &problem, const SolveOptions &options);

} // namespace korvesta
