#pragma once

#include "data/database.h"
#include "data/dberror.h"
#include "data/dberrorhandler.h"
#include "data/documentsession.h"

#include <functional>
#include <optional>

namespace korvesta {

class Prompts;

// Runs one change of the document: opens it, runs work, and tells a failure through the
// shared handler. A document held by another program may be retried: every change is one
// statement or one transaction, so a refused write leaves nothing behind and the whole
// change can simply run again. Returns failed when the change did not run to its end.
template<typename T>
T runDocumentChange(DocumentSession &session, Prompts &prompts, T failed,
                    const std::function<T(const Database &)> &work)
{
    for (;;) {
        const std::optional<Database> db = session.access();
        if (!db)
            return failed;
        try {
            return work(*db);
        } catch (const DbError &error) {
            if (askToRetryLocked(error, prompts))
                continue;
            if (error.code() != dberr::Locked)
                session.handleError(error);
            return failed;
        }
    }
}

} // namespace korvesta
