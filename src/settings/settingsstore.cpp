#include "settingsstore.h"

#include <QSettings>
#include <QStringList>

namespace korvesta {

namespace {

QString path(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Korvesta"),
                                             QStringLiteral("Korvesta")))
{}

SettingsStore::SettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}

std::optional<QString> SettingsStore::text(const QString &section, const QString &key) const
{
    const QVariant value = m_settings->value(path(section, key));
    if (!value.isValid())
        return std::nullopt;
    // An INI line edited by hand as "a, b" reads back as a list; the store only knows texts.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

QString SettingsStore::readText(const QString &section, const QString &key,
                                const QString &defaultValue) const
{
    return text(section, key).value_or(defaultValue);
}

bool SettingsStore::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    const QString value = text(section, key).value_or(QString()).trimmed();
    if (value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    // A number converts too, as the buttons that save 1 or 0 write it: not zero is true.
    bool isNumber = false;
    const double number = value.toDouble(&isNumber);
    return isNumber ? number != 0 : defaultValue;
}

int SettingsStore::readInt(const QString &section, const QString &key, int defaultValue) const
{
    bool ok = false;
    const int value = text(section, key).value_or(QString()).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

// Every write goes to disk at once, so another store on the same file (or the next start
// after a crash) sees it.
void SettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    m_settings->setValue(path(section, key), value);
    m_settings->sync();
}

void SettingsStore::writeBool(const QString &section, const QString &key, bool value)
{
    write(section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

void SettingsStore::writeInt(const QString &section, const QString &key, int value)
{
    write(section, key, QString::number(value));
}

void SettingsStore::remove(const QString &section, const QString &key)
{
    m_settings->remove(path(section, key));
    m_settings->sync();
}

} // namespace korvesta
