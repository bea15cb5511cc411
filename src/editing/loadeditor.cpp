#include "loadeditor.h"

#include "data/database.h"
#include "data/dberror.h"
#include "data/dberrorhandler.h"
#include "data/documentsession.h"

namespace korvesta {

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
    return run(
        [&](const Database &db) { return addToLoad(db, m_prompts, LoadAddition::Tutor, entry); });
}

bool LoadEditor::addDiscipline(const LoadEntry &entry)
{
    return run([&](const Database &db) {
        return addToLoad(db, m_prompts, LoadAddition::Discipline, entry);
    });
}

bool LoadEditor::addGroup(const LoadEntry &entry)
{
    return run(
        [&](const Database &db) { return addToLoad(db, m_prompts, LoadAddition::Group, entry); });
}

bool LoadEditor::changeHours(const LoadEntry &entry)
{
    return run([&](const Database &db) { return changeLoadHours(db, m_prompts, entry); });
}

bool LoadEditor::removeGroup(const QString &tutor, const QString &discipline,
                             const QString &groupText)
{
    return run([&](const Database &db) {
        return removeGroupFromLoad(db, m_prompts, tutor, discipline, groupText);
    });
}

bool LoadEditor::removeDiscipline(const QString &tutor, const QString &discipline)
{
    return run([&](const Database &db) {
        return removeDisciplineFromLoad(db, m_prompts, tutor, discipline);
    });
}

} // namespace korvesta
