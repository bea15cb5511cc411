#pragma once

#include "data/database.h"
#include "data/documentsession.h"
#include "data/history.h"
#include "data/institutionbuilder.h"
#include "settings/settingsstore.h"
#include "support/scriptedprompts.h"
#include "support/testdocument.h"

#include <gtest/gtest.h>

namespace korvesta {

// A new document opened as the window opens it, a builder to fill it, and the user's settings
// and dialogs around it. Connections and undo histories end with the test.
class DocumentTest : public ::testing::Test
{
protected:
    void SetUp() override { session.startFromCommandLine({path}); }
    void TearDown() override
    {
        History::detachAll();
        Database::forgetAll();
    }

    TestFolder folder;
    QString path = newTestDocument(folder);
    InstitutionBuilder b{Database::open(path)};
    SettingsStore store{folder.file(QStringLiteral("user.ini"))};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, store, {folder.path(), folder.path()}};
};

} // namespace korvesta
