#include "commandsettings.h"

#include <QFile>
#include <QFileInfo>

namespace korvesta {

CommandSettings::CommandSettings(const Values &sets)
{
    if (!m_folder.isValid())
        return;
    const QString copy = m_folder.filePath(QStringLiteral("settings.ini"));
    const QString own = SettingsStore().fileName();
    if (QFileInfo::exists(own) && !QFile::copy(own, copy))
        return;
    m_store = std::make_unique<SettingsStore>(copy);
    for (const auto &[key, value] : sets)
        m_store->write(QStringLiteral("Settings"), key, value);
    m_record.load(*m_store);
}

} // namespace korvesta
