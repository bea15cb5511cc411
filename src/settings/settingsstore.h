#pragma once

#include <QString>

#include <memory>
#include <optional>

class QSettings;

namespace korvesta {

// The per-user settings store. Every value is kept as text; Booleans as "True" or "False".
// A read names its own default, which applies when the key is missing or its text does not
// convert, and is never written back.
class SettingsStore
{
public:
    // The user's own store (INI format, organisation and application "Korvesta").
    SettingsStore();
    // A store in the given INI file (tests, or a portable setup).
    explicit SettingsStore(const QString &iniPath);
    ~SettingsStore();

    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QString fileName() const;

    QString readText(const QString &section, const QString &key,
                     const QString &defaultValue) const;
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    int readInt(const QString &section, const QString &key, int defaultValue) const;

    void write(const QString &section, const QString &key, const QString &value);
    void writeBool(const QString &section, const QString &key, bool value);
    void writeInt(const QString &section, const QString &key, int value);

    void remove(const QString &section, const QString &key);

private:
    std::optional<QString> text(const QString &section, const QString &key) const;

    std::unique_ptr<QSettings> m_settings;
};

} // namespace korvesta
