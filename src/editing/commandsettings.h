#pragma once

#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"

#include <QTemporaryDir>

#include <memory>
#include <utility>
#include <vector>

namespace korvesta {

// The settings a headless command runs under: a copy of the user's own, with the values of
// its --set options for this run only (in section "Settings", or the one named before a
// slash). Nothing reaches the user's file.
class CommandSettings
{
public:
    using Values = std::vector<std::pair<QString, QString>>;

    explicit CommandSettings(const Values &sets = {});

    // Adds the value of a --set option ("KEY=VALUE" or "SECTION/KEY=VALUE") to sets; the refusal text when it is not
    // one, else an empty text.
    static QString addSet(const QString &option, Values &sets);

    // False when the copy could not be made; the command should stop with unusableText().
    bool usable() const { return m_store != nullptr; }
    static QString unusableText() { return QStringLiteral("Не удалось прочитать настройки программы"); }

    SettingsStore &store() { return *m_store; }
    SettingsRecord &record() { return m_record; }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<SettingsStore> m_store;
    SettingsRecord m_record;
};

} // namespace korvesta
