#pragma once

#include <QString>

#include <optional>

namespace korvesta {

class Database;
class Prompts;

// The cells of the teaching load's entry row (grid row 1), as typed.
struct LoadEntry
{
    QString tutor;      // col 1
    QString auditorium; // col 2: the tutor's usual auditorium, may stay empty
    QString discipline; // col 3
    QString group;      // col 4: "Group  (Course)", a faculty after it when faculties are shown
    QString hours;      // col 5
};

// What the entry row adds to the load.
enum class LoadAddition {
    Tutor,      // a new tutor with his first load line, after the user confirms it
    Discipline, // a discipline with a group to a listed tutor
    Group,      // a group to a discipline the tutor already teaches
};

// The teaching load's changes, each told to the user through prompts, the checks in order,
// each refusal and each "No" leaving the document as it was. Every change is written in one
// transaction: a failure halfway leaves nothing half-written. Each returns true when the
// document changed. Throws DbError (nothing is then changed).
//
// A load line is a tutor's job (tutor and discipline) given to a group with its hours. No job
// is kept without a line and no tutor without a job once his load is cut down: removing the
// last group of a discipline removes the job, and removing the last job removes the tutor.
bool addToLoad(const Database &db, Prompts &prompts, LoadAddition addition, const LoadEntry &entry);
// The hours of the line of entry.tutor, entry.discipline and entry.group.
bool changeLoadHours(const Database &db, Prompts &prompts, const LoadEntry &entry);
// The texts of an outline row: the tutor, the discipline and the group text.
bool removeGroupFromLoad(const Database &db, Prompts &prompts, const QString &tutor,
                         const QString &discipline, const QString &groupText);
bool removeDisciplineFromLoad(const Database &db, Prompts &prompts, const QString &tutor,
                              const QString &discipline);

// The hours of a load line from the text typed: a whole number from 1 to kMaxLoadHours.
// Otherwise the user is told why and nothing is returned: "Нагрузка не задана" for a text
// without a leading number or one that reads as 0, the request for a positive whole number
// for anything else that is not plain digits (letters after the digits, a sign, a fraction).
constexpr int kMaxLoadHours = 99999;
std::optional<int> loadHoursFromText(Prompts &prompts, const QString &text);

// The refusal of a line the load has already.
QString loadLineExistsText(const LoadEntry &entry);

// Where the checks of a new load line look names up: the document itself (addToLoad), or
// lists read from it once (the import of thousands of lines). Names match as the document's
// comparison does: letter case ignored, "ё" a letter of its own.
class LoadLookup
{
public:
    virtual ~LoadLookup() = default;
    // A tutor of that name in any letter case, the spaces around it aside.
    virtual bool tutorExists(const QString &tutor) const = 0;
    // The first key of the name; 0 when there is none.
    virtual int tutorKey(const QString &tutor) const = 0;
    virtual int disciplineKey(const QString &discipline) const = 0;
    // "Group  (Course)", a faculty after it: the group of that faculty (or of none) first.
    virtual int groupKey(const QString &groupText) const = 0;
    virtual int jobKey(int tutor, int discipline) const = 0;
    // The auditorium typed as the tutor's usual one, as "101 (Главный)".
    virtual std::optional<QString> auditoriumDisplay(const QString &text) const = 0;
};

// A new load line that passed the checks: what to write.
struct CheckedLoadLine
{
    QString tutor;      // trimmed
    QString defaultAud; // a new tutor's usual auditorium; empty for none
    int keyTutor = 0;   // 0 for a new tutor
    int keyDiscipline = 0;
    int keyGroup = 0;
    int hours = 0;
};

// The entry row's checks of a new load line, in their order and with their messages, down to
// the confirmation of a new tutor; nothing when one refuses (the user was told) or the user
// answers "No". Whether the line exists already is left to the writer.
std::optional<CheckedLoadLine> checkLoadAddition(const LoadLookup &lists, Prompts &prompts,
                                                 LoadAddition addition, const LoadEntry &entry);

} // namespace korvesta
