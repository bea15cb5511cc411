#pragma once

#include <QString>

namespace korvesta {

// Key access to a small INI file of our own, such as the timetable fills' scratch file.
// Section and key names may hold any character but "]", "=" and line breaks (the fills use
// "\" inside them), and compare without regard to letter case. Every call reads the file
// anew; a write rewrites it at once.
class IniFile
{
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    QString read(const QString &section, const QString &key,
                 const QString &defaultValue = QString()) const;
    // An INI line cannot hold a line break: each CR, LF or CR LF in the value becomes a blank.
    // Returns false when the file cannot be written.
    bool write(const QString &section, const QString &key, const QString &value);
    // Deletes the file; true when it is gone.
    bool remove();

private:
    QString m_path;
};

} // namespace korvesta
