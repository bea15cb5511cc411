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

QString CommandSettings::addSet(const QString &option, Values &sets)
{
    const int eq = int(option.indexOf(u'='));
    if (eq <= 0)
        return QStringLiteral("Настройка задаётся как КЛЮЧ=ЗНАЧЕНИЕ: %1").arg(option);
    sets.emplace_back(option.left(eq), option.mid(eq + 1));
    return QString();
}

} // namespace korvesta
