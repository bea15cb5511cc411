#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace korvesta {

class Database;

// The objects a script names on a command line.
enum class NamedKind { Group, Tutor, Auditorium, Discipline };

// An object found by its name: its key and the one form every command prints and takes back
// ("П-9 (1)", "П-9 (1) ИТ" when two faculties share the name and course, "Иванов И.И.",
// "109 (Главный)", the discipline's short name).
struct NamedObject
{
    int key = 0;
    QString canonical;
    // A group's parts, for the routines that look a group up by them; the faculty only when
    // the name and course alone do not tell the group.
    QString group, course, faculty;
};

struct ObjectLookup
{
    std::optional<NamedObject> object;
    QString error; // why none was taken: not there, or the candidates to choose from
    bool ambiguous = false; // the text fits several objects
};

// Finds the object a text names, letter case and runs of blanks aside ("ё" stays a letter of
// its own). A group: "П-9", "П-9 (1)", "П-9  (1)" or "П-9 (1) ИТ"; a tutor: the full name, or
// a surname that only one tutor has; an auditorium: "109 (Главный)", or "109" when only one
// building has it; a discipline: its short or full name. A text that fits several objects
// is refused with their canonical names. Throws DbError.
ObjectLookup findObject(const Database &db, NamedKind kind, const QString &text);

// Every object of a kind in its canonical form, in the order of the lists (groups by
// course). Throws DbError.
std::vector<NamedObject> namedObjects(const Database &db, NamedKind kind);

} // namespace korvesta
