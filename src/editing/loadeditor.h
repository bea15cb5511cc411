#pragma once

#include "loadchanges.h"

#include <QString>

#include <functional>

namespace korvesta {

class Database;
class DocumentSession;
class Prompts;

// The teaching load's editing as the window and the load command call it: each operation
// opens the current document (asking for one when none is set), makes its one change in one
// transaction and releases it. A document error ends the operation through the shared
// handler with nothing changed; a document another program holds is waited for, then the
// user may repeat the operation. Each returns true when the document changed.
class LoadEditor
{
public:
    LoadEditor(DocumentSession &session, Prompts &prompts);

    // From the entry row.
    bool addTutor(const LoadEntry &entry);
    bool addDiscipline(const LoadEntry &entry);
    bool addGroup(const LoadEntry &entry);
    bool changeHours(const LoadEntry &entry);
    // From the texts of an outline row.
    bool removeGroup(const QString &tutor, const QString &discipline, const QString &groupText);
    bool removeDiscipline(const QString &tutor, const QString &discipline);

private:
    bool run(const std::function<bool(const Database &)> &work);

    DocumentSession &m_session;
    Prompts &m_prompts;
};

} // namespace korvesta
