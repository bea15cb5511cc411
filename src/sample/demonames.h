#pragma once

// The Russian lists the sample institution is made of.

#include "demomodel.h"

#include <span>

namespace korvesta::demo {

// Tutors of an area share the disciplines of that area. The general areas come first; each
// specialty adds an area of its own after them.
enum GeneralArea {
    AreaPhilology,
    AreaLanguages,
    AreaMathematics,
    AreaSciences,
    AreaHumanities,
    AreaSport,
    AreaSafety,
    AreaInformatics,
    GeneralAreaCount
};

// Specializations (discipline types) of the sample, in display order.
enum Cycle {
    CycleGeneral,
    CycleHumanities,
    CycleScience,
    CycleProfessionalBasics,
    CycleModules,
    CycleElectives,
    CycleFormer, // hidden: disciplines no longer taught
    CycleCount
};

struct SubjectInfo
{
    const char *shortName;
    const char *fullName;
    int area;
    int level;
    RoomKind room;
    LessonKind kind;
    int cycle = 0; // Cycle
};

enum class Mode {
    Plain,     // the group alone, one tutor
    Subgroups, // two halves of the group at once, each with its own tutor
    Stream     // lectures for all groups of the course together, practice for each
};

// A general subject in the plan of a course: lessons per fortnight in each term.
struct PlanEntry
{
    int course; // 0: the preparatory courses
    const char *fullName;
    int lessons[2];
    Mode mode;
    bool singles; // single lessons rather than pairs
};

enum FacultyIndex { FacultyIT, FacultyEconomics, FacultyLaw, FacultyTechnical, FacultyExtramural };

enum SpecialtyIndex { SpecIS, SpecSA, SpecEK, SpecBD, SpecPO, SpecTM, SpecES, SpecSZ };

struct SpecialtyInfo
{
    const char *prefix;
    const char *name;
    int faculty;
    RoomKind specialRoom; // where its practical disciplines are taught
    const char *cabinet;
    std::span<const char *const> subjects;
};

std::span<const char *const> facultyNames();
std::span<const SubjectInfo> generalSubjects();
std::span<const PlanEntry> generalPlan();
std::span<const SpecialtyInfo> specialties();
// Disciplines no longer taught (a hidden specialization).
std::span<const char *const> formerSubjects();
std::span<const char *const> sportHalls();
QString cycleName(int cycle);
// The comment of a classroom that an area's tutors use; null when the area has none.
const char *areaCabinet(int area);
int areaHue(int area);

} // namespace korvesta::demo
