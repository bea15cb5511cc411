#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace korvesta {

class Database;
class Prompts;
class Recordset;

// Checks and conversions shared by the editors of the reference lists.

// Two names are the same record when they agree ignoring letter case (Cyrillic too) and the
// blanks around them.
bool sameName(const QString &a, const QString &b);

// A cell of the entry row with the caption of its column.
struct EntryCell
{
    QString text;
    QString caption;
};

// True when every cell holds something other than blanks. Otherwise the first empty cell is
// told as prefix + caption + suffix, and false returned.
bool requireCells(Prompts &prompts, const std::vector<EntryCell> &cells, const QString &prefix,
                  const QString &suffix);

// The longest comment a group keeps.
constexpr int kCommentLimit = 50;
// Shows "Поле <caption> не должно превышать 50 знаков" and returns false when too long.
bool checkCommentLength(Prompts &prompts, const QString &comment, const QString &caption);

// The type lists a record refers to by key.
enum class TypeList { Faculty, Tuition, Finance, DiscType };

// The Key of a type name (any letter case); 0 when the list has no such name.
int findTypeKey(const Database &db, TypeList list, const QString &name);
// The Key for a type cell: 1 for an empty cell, else the looked-up key. When the type is in
// use, a name that is not in the list is refused with a message naming the column
// (nullopt), so that no record points at a type that does not exist; when it is not, the
// cell is hidden from the user and such a name counts as empty.
std::optional<int> typeKeyForCell(const Database &db, Prompts &prompts, TypeList list,
                                  const QString &cell, const QString &caption, bool inUse);

// The difficulty of a discipline from its text: empty or "Лёгкий" 0, "Средний" 1, "Трудный"
// 2 (any letter case, "Легкий" too); nullopt for anything else.
std::optional<int> levelFromText(const QString &text);
QString levelText(int level);

// The Key of the first row of the recordset, other than `exceptKey`, that matches, with the
// recordset left on that row; 0 when none does. The recordset must have a field "Key".
int findRecord(Recordset &rs, int exceptKey, const std::function<bool(const Recordset &)> &matches);

// The record to write: a new row of the table (no edited key) or the edited record, ready
// for setValue. Nothing, after telling the user, when the edited record no longer exists.
std::optional<Recordset> openForSave(const Database &db, Prompts &prompts, const QString &table,
                                     std::optional<int> editedKey);

// A recordset text field as text (Null as empty).
QString textOf(const Recordset &rs, const QString &field);

} // namespace korvesta
