#include "commandsettings.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

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
    for (const auto &[key, value] : sets) {
        const qsizetype slash = key.indexOf(u'/');
        if (slash < 0)
            m_store->write(QStringLiteral("Settings"), key, value);
        else
            m_store->write(key.left(slash), key.mid(slash + 1), value);
    }
    m_record.load(*m_store);
}

QString CommandSettings::addSet(const QString &option, Values &sets)
{
    const int eq = int(option.indexOf(u'='));
    const QString key = option.left(std::max(eq, 0));
    const qsizetype slash = key.indexOf(u'/');
    if (eq <= 0 || slash == 0 || slash == key.size() - 1 || key.count(u'/') > 1)
        return QStringLiteral("Настройка задаётся как КЛЮЧ=ЗНАЧЕНИЕ или РАЗДЕЛ/КЛЮЧ=ЗНАЧЕНИЕ: %1")
            .arg(option);
    sets.emplace_back(option.left(eq), option.mid(eq + 1));
    return QString();
}

} // namespace korvesta
