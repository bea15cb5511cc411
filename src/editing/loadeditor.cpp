#include "loadeditor.h"

#include "data/database.h"
#include "data/dberror.h"
#include "data/dberrorhandler.h"
#include "data/documentsession.h"
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
    // A change is one transaction, so a refused write leaves nothing behind and the whole
    // operation can simply run again.
    for (;;) {
        const std::optional<Database> db = m_session.access();
        if (!db)
            return false;
        try {
            return work(*db);
        } catch (const DbError &error) {
            if (askToRetryLocked(error, m_prompts))
                continue;
            if (error.code() != dberr::Locked)
                m_session.handleError(error);
            return false;
        }
    }
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
