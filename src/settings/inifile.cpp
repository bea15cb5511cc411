#include "inifile.h"

#include <QFile>
#include <QStringList>

namespace korvesta {

namespace {

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Whether the line opens a section, and which.
bool sectionHeader(const QString &line, QString *name)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')) || !trimmed.endsWith(QLatin1Char(']')))
        return false;
    *name = trimmed.mid(1, trimmed.size() - 2).trimmed();
    return true;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

bool isEntry(const QString &line, const QString &key, QString *value)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0 || !sameName(line.left(equals).trimmed(), key))
        return false;
    if (value)
        *value = line.mid(equals + 1).trimmed();
    return true;
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{}

QString IniFile::read(const QString &section, const QString &key,
                      const QString &defaultValue) const
{
    bool inSection = false;
    QString name;
    QString value;
    for (const QString &line : readLines(m_path)) {
        if (sectionHeader(line, &name))
            inSection = sameName(name, section);
        else if (inSection && isEntry(line, key, &value))
            return value;
    }
    return defaultValue;
}

bool IniFile::write(const QString &section, const QString &key, const QString &value)
{
    QString flat = value;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString entry = key.trimmed() + QLatin1Char('=') + flat;

    QStringList lines = readLines(m_path);
    qsizetype sectionEnd = -1; // index after the last line of the section, once found
    bool inSection = false;
    bool written = false;
    QString name;
    for (qsizetype i = 0; i < lines.size() && !written; ++i) {
        if (sectionHeader(lines[i], &name)) {
            inSection = sameName(name, section);
            if (inSection)
                sectionEnd = i + 1;
        } else if (inSection) {
            if (isEntry(lines[i], key, nullptr)) {
                lines[i] = entry;
                written = true;
            } else if (!lines[i].trimmed().isEmpty()) {
                sectionEnd = i + 1;
            }
        }
    }
    if (!written) {
        if (sectionEnd < 0) {
            lines << QLatin1Char('[') + section.trimmed() + QLatin1Char(']');
            sectionEnd = lines.size();
        }
        lines.insert(sectionEnd, entry);
    }

    // A scratch file: rewritten in place, no need for an atomic replace.
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    return file.write(bytes) == bytes.size();
}

bool IniFile::remove()
{
    return QFile::remove(m_path) || !QFile::exists(m_path);
}

} // namespace korvesta
