#pragma once

#include "referencedeletion.h"
#include "referencerows.h"

#include <QColor>

#include <functional>
#include <optional>

namespace korvesta {

class Database;
class DocumentSession;
class Prompts;
struct SettingsRecord;

// The reference lists' editing as the window calls it: each operation opens the current
// document (asking for one when none is set), works, and releases it. A document error ends
// the operation through the shared handler: a save then reports nothing saved (the entry row
// keeps what was typed) and a delete nothing deleted, and nothing is left half-written. A
// document another program holds is waited for, then the user may repeat the operation.
class ReferenceEditor
{
public:
    ReferenceEditor(DocumentSession &session, const SettingsRecord &settings, Prompts &prompts);

    SaveResult addGroup(const GroupRow &row);
    SaveResult editGroup(int key, const GroupRow &row);
    SaveResult addAuditorium(const AuditoriumRow &row);
    SaveResult editAuditorium(int key, const AuditoriumRow &row);
    SaveResult addDiscipline(const DisciplineRow &row);
    SaveResult editDiscipline(int key, const DisciplineRow &row);
    SaveResult addTutor(const TutorRow &row);
    SaveResult editTutor(int key, const TutorRow &row);
    // The tutor of that name, to be edited; nothing when there is none (or the document
    // could not be read, which the user was told).
    std::optional<TutorRecord> findTutor(const QString &name);

    // The texts of the current row: group (col 2), course (col 1), faculty (col 4).
    DeleteOutcome deleteGroup(const QString &group, const QString &course, const QString &faculty);
    // Auditorium (col 2), building (col 1).
    DeleteOutcome deleteAuditorium(const QString &auditoria, const QString &corpus);
    // Short name (col 2), full name (col 3).
    DeleteOutcome deleteDiscipline(const QString &discipline, const QString &discipline1);
    // The tutor's name (col 1 of the load).
    DeleteOutcome deleteTutor(const QString &tutor);

    // The colour picker of a colour cell, preset with the cell's back colour (0x00BBGGRR);
    // the chosen colour, or nothing when cancelled.
    std::optional<quint32> pickCellColor(quint32 current);

private:
    template<typename T> T run(T failed, const std::function<T(const Database &)> &work);

    DocumentSession &m_session;
    const SettingsRecord &m_settings;
    Prompts &m_prompts;
};

} // namespace korvesta
