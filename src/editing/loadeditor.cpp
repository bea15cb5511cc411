#include "loadeditor.h"

#include "documentchange.h"

#include "data/database.h"
#include "data/history.h"

namespace korvesta {

namespace {

QString quoted(const QString &name)
{
    return QStringLiteral("«") + name.trimmed() + QStringLiteral("»");
}

// The tutor's part of a step caption: " преподавателя «Иванов И.И.»".
QString ofTutor(const QString &tutor)
{
    return QStringLiteral(" преподавателя ") + quoted(tutor);
}

} // namespace

LoadEditor::LoadEditor(DocumentSession &session, Prompts &prompts)
    : m_session(session)
    , m_prompts(prompts)
{}

bool LoadEditor::run(const std::function<bool(const Database &)> &work)
{
    return runDocumentChange(m_session, m_prompts, false, work);
}

bool LoadEditor::addTutor(const LoadEntry &entry)
{
    return run([&](const Database &db) {
        const History::Step step(db, QStringLiteral("добавление нагрузки") + ofTutor(entry.tutor));
        return addToLoad(db, m_prompts, LoadAddition::Tutor, entry);
    });
}

bool LoadEditor::addDiscipline(const LoadEntry &entry)
{
    return run([&](const Database &db) {
        const History::Step step(db, QStringLiteral("добавление дисциплины ")
                                         + quoted(entry.discipline) + QStringLiteral(" в нагрузку")
                                         + ofTutor(entry.tutor));
        return addToLoad(db, m_prompts, LoadAddition::Discipline, entry);
    });
}

bool LoadEditor::addGroup(const LoadEntry &entry)
{
    return run([&](const Database &db) {
        const History::Step step(db, QStringLiteral("добавление группы ") + quoted(entry.group)
                                         + QStringLiteral(" в нагрузку") + ofTutor(entry.tutor));
        return addToLoad(db, m_prompts, LoadAddition::Group, entry);
    });
}

bool LoadEditor::changeHours(const LoadEntry &entry)
{
    return run([&](const Database &db) {
        const History::Step step(db, QStringLiteral("изменение нагрузки") + ofTutor(entry.tutor)
                                         + QStringLiteral(" по дисциплине ")
                                         + quoted(entry.discipline));
        return changeLoadHours(db, m_prompts, entry);
    });
}

bool LoadEditor::removeGroup(const QString &tutor, const QString &discipline,
                             const QString &groupText)
{
    return run([&](const Database &db) {
        const History::Step step(db, QStringLiteral("удаление группы ") + quoted(groupText)
                                         + QStringLiteral(" из нагрузки") + ofTutor(tutor));
        return removeGroupFromLoad(db, m_prompts, tutor, discipline, groupText);
    });
}

bool LoadEditor::removeDiscipline(const QString &tutor, const QString &discipline)
{
    return run([&](const Database &db) {
        const History::Step step(db, QStringLiteral("удаление дисциплины ") + quoted(discipline)
                                         + QStringLiteral(" из нагрузки") + ofTutor(tutor));
        return removeDisciplineFromLoad(db, m_prompts, tutor, discipline);
    });
}

} // namespace korvesta
