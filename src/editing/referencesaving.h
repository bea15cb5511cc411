#pragma once

#include "referencerows.h"

#include <optional>

namespace korvesta {

class Database;
class ListedNames;
class Prompts;
struct SettingsRecord;

// Adding (no edited key) and editing (the Key of the record being edited) a record of a
// reference list from its entry row: the checks in order, each refusal told to the user, then
// the write. A refused row writes nothing. Throws DbError. An addition given the list's names
// (read once for many additions) checks for a duplicate in them and adds its own.
SaveResult saveGroup(const Database &db, const SettingsRecord &settings, Prompts &prompts,
                     const GroupRow &row, std::optional<int> editedKey,
                     ListedNames *listed = nullptr);
SaveResult saveAuditorium(const Database &db, Prompts &prompts, const AuditoriumRow &row,
                          std::optional<int> editedKey, ListedNames *listed = nullptr);
SaveResult saveDiscipline(const Database &db, const SettingsRecord &settings, Prompts &prompts,
                          const DisciplineRow &row, std::optional<int> editedKey,
                          ListedNames *listed = nullptr);
SaveResult saveTutor(const Database &db, Prompts &prompts, const TutorRow &row,
                     std::optional<int> editedKey, ListedNames *listed = nullptr);

// The tutor of that name (any letter case); nothing when there is none.
std::optional<TutorRecord> findTutor(const Database &db, const QString &name);

// The building an auditorium is stored in: the cell trimmed, "Главный" when empty.
QString corpusFromCell(const QString &cell);

} // namespace korvesta
