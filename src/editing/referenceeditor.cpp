#include "referenceeditor.h"

#include "documentchange.h"
#include "referencesaving.h"

#include "data/database.h"
#include "data/prompts.h"
#include "grid/gridcolors.h"

namespace korvesta {

ReferenceEditor::ReferenceEditor(DocumentSession &session, const SettingsRecord &settings,
                                 Prompts &prompts)
    : m_session(session)
    , m_settings(settings)
    , m_prompts(prompts)
{}

template<typename T>
T ReferenceEditor::run(T failed, const std::function<T(const Database &)> &work)
{
    return runDocumentChange(m_session, m_prompts, failed, work);
}

SaveResult ReferenceEditor::addGroup(const GroupRow &row)
{
    return run<SaveResult>({}, [&](const Database &db) {
        return saveGroup(db, m_settings, m_prompts, row, std::nullopt);
    });
}

SaveResult ReferenceEditor::editGroup(int key, const GroupRow &row)
{
    return run<SaveResult>(
        {}, [&](const Database &db) { return saveGroup(db, m_settings, m_prompts, row, key); });
}

SaveResult ReferenceEditor::addAuditorium(const AuditoriumRow &row)
{
    return run<SaveResult>(
        {}, [&](const Database &db) { return saveAuditorium(db, m_prompts, row, std::nullopt); });
}

SaveResult ReferenceEditor::editAuditorium(int key, const AuditoriumRow &row)
{
    return run<SaveResult>(
        {}, [&](const Database &db) { return saveAuditorium(db, m_prompts, row, key); });
}

SaveResult ReferenceEditor::addDiscipline(const DisciplineRow &row)
{
    return run<SaveResult>({}, [&](const Database &db) {
        return saveDiscipline(db, m_settings, m_prompts, row, std::nullopt);
    });
}

SaveResult ReferenceEditor::editDiscipline(int key, const DisciplineRow &row)
{
    return run<SaveResult>({}, [&](const Database &db) {
        return saveDiscipline(db, m_settings, m_prompts, row, key);
    });
}

SaveResult ReferenceEditor::addTutor(const TutorRow &row)
{
    return run<SaveResult>(
        {}, [&](const Database &db) { return saveTutor(db, m_prompts, row, std::nullopt); });
}

SaveResult ReferenceEditor::editTutor(int key, const TutorRow &row)
{
    return run<SaveResult>({},
                           [&](const Database &db) { return saveTutor(db, m_prompts, row, key); });
}

std::optional<TutorRecord> ReferenceEditor::findTutor(const QString &name)
{
    return run<std::optional<TutorRecord>>(
        std::nullopt, [&](const Database &db) { return korvesta::findTutor(db, name); });
}

DeleteOutcome ReferenceEditor::deleteGroup(const QString &group, const QString &course,
                                           const QString &faculty)
{
    return run<DeleteOutcome>(DeleteOutcome::Nothing, [&](const Database &db) {
        return korvesta::deleteGroup(db, m_prompts, group, course, faculty);
    });
}

DeleteOutcome ReferenceEditor::deleteAuditorium(const QString &auditoria, const QString &corpus)
{
    return run<DeleteOutcome>(DeleteOutcome::Nothing, [&](const Database &db) {
        return korvesta::deleteAuditorium(db, m_prompts, auditoria, corpus);
    });
}

DeleteOutcome ReferenceEditor::deleteDiscipline(const QString &discipline,
                                                const QString &discipline1)
{
    return run<DeleteOutcome>(DeleteOutcome::Nothing, [&](const Database &db) {
        return korvesta::deleteDiscipline(db, m_prompts, discipline, discipline1);
    });
}

DeleteOutcome ReferenceEditor::deleteTutor(const QString &tutor)
{
    return run<DeleteOutcome>(DeleteOutcome::Nothing, [&](const Database &db) {
        return korvesta::deleteTutor(db, m_prompts, tutor);
    });
}

std::optional<quint32> ReferenceEditor::pickCellColor(quint32 current)
{
    const std::optional<QColor> chosen = m_prompts.chooseColor(colorFromBgr(current));
    if (!chosen || !chosen->isValid())
        return std::nullopt;
    return bgrFromColor(*chosen);
}

} // namespace korvesta
