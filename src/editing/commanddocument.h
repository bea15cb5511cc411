#pragma once

#include "commandsettings.h"
#include "consoleprompts.h"

#include "data/database.h"
#include "data/documentsession.h"

#include <QTextStream>

#include <optional>

namespace korvesta {

// The document a headless command works on, opened as the window opens one: the user's
// settings with the command's --set values, console prompts (answering yes under --yes) and
// the document session. What goes wrong on the way is told on the error stream.
class CommandDocument
{
public:
    enum class Use { Read, Change };

    CommandDocument(const QString &path, const CommandSettings::Values &sets, Use use, bool yes,
                    QTextStream &err);

    // The open document; nullopt when the file, the settings or the document cannot be used.
    const std::optional<Database> &db() const { return m_db; }
    DocumentSession &session() { return *m_session; }
    ConsolePrompts &prompts() { return m_prompts; }
    SettingsStore &store() { return m_settings.store(); }
    SettingsRecord &record() { return m_settings.record(); }

private:
    CommandSettings m_settings;
    ConsolePrompts m_prompts;
    std::optional<DocumentSession> m_session;
    std::optional<Database> m_db;
};

} // namespace korvesta
