#include "tooltipcache.h"

#include "data/subgroupnumber.h"
#include "grid/gridmodel.h"
#include "settings/inifile.h"
#include "settings/settingsrecord.h"
#include "timetablelayout.h"

#include <QFile>
#include <QStringList>

#include <utility>
#include <vector>

namespace korvesta {

namespace {

// Past this many characters the tooltip is cut after a whole line.
constexpr qsizetype kTooltipLimit = 1000;

QString flat(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

TooltipCache::TooltipCache(QString path)
    : m_path(std::move(path))
{}

QString TooltipCache::section(const QString &group, const QString &course,
                              const QString &faculty)
{
    return group + QLatin1Char('\\') + course + QLatin1Char('\\') + faculty;
}

QString TooltipCache::key(int lesson, int subGroup)
{
    return QString::number(lesson) + QLatin1Char('\\') + QString::number(subGroup);
}

QString TooltipCache::details(const QStringList &parts)
{
    QString value;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            value += QLatin1Char(';');
        for (const QChar c : parts[i]) {
            if (c == QLatin1Char(';') || c == QLatin1Char('\\'))
                value += QLatin1Char('\\');
            value += c;
        }
    }
    return value;
}

QStringList TooltipCache::detailsOf(const QString &value)
{
    QStringList parts{QString()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\') && i + 1 < value.size())
            parts.last() += value.at(++i);
        else if (c == QLatin1Char(';'))
            parts << QString();
        else
            parts.last() += c;
    }
    return parts;
}

void TooltipCache::discard()
{
    IniFile(m_path).remove();
    m_sections.clear();
    m_index.clear();
}

void TooltipCache::add(const QString &section, const QString &key, const QString &value)
{
    const QString name = flat(section).trimmed();
    const QString folded = name.toCaseFolded();
    auto found = m_index.constFind(folded);
    size_t at = 0;
    if (found == m_index.cend()) {
        at = m_sections.size();
        m_index.insert(folded, at);
        m_sections.push_back({name, {}, {}});
    } else {
        at = found.value();
    }
    Section &s = m_sections[at];
    const QString entryKey = flat(key).trimmed();
    const QString foldedKey = entryKey.toCaseFolded();
    if (auto entry = s.index.constFind(foldedKey); entry != s.index.cend()) {
        s.entries[entry.value()].second = flat(value);
        return;
    }
    s.index.insert(foldedKey, s.entries.size());
    s.entries.emplace_back(entryKey, flat(value));
}

bool TooltipCache::save() const
{
    QString text;
    for (const Section &s : m_sections) {
        text += QLatin1Char('[') + s.name + QLatin1String("]\n");
        for (const auto &[key, value] : s.entries)
            text += key + QLatin1Char('=') + value + QLatin1Char('\n');
    }
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size();
}

QString dayTimetableTooltip(const GridModel &grid, const SettingsRecord &record,
                            const QString &cachePath, int row, int col)
{
    const TimetableLayout layout = TimetableLayout::ofGrid(TimetableKind::Day, record, grid);
    const int lesson = layout.lessonOfRow(grid, row);
    if (lesson == 0 || !layout.isObjectCol(col))
        return {};
    const QString faculty = layout.useFaculty ? grid.text(layout.facultyRow(), col)
                                              : QStringLiteral("отсутствует");
    const QString section = TooltipCache::section(
        grid.text(layout.objectRow(), col),
        courseFromHeader(grid.text(layout.courseRow(), col)), faculty);

    const IniFile cache(cachePath);
    std::vector<std::pair<int, QString>> found; // stored subgroup, cached value
    for (int subGroup = 0; subGroup <= record.SubGroupCount; ++subGroup) {
        const QString value = cache.read(section, TooltipCache::key(lesson, subGroup));
        if (!value.isEmpty())
            found.emplace_back(subGroup, value);
    }
    QStringList lines;
    for (size_t i = 0; i < found.size(); ++i) {
        const QStringList parts = TooltipCache::detailsOf(found[i].second);
        if (const int shown = shownSubgroup(found[i].first, int(i) + 1, int(found.size())))
            lines << QStringLiteral("Подгруппа ") + QString::number(shown);
        lines << QStringLiteral("Преподаватель: ") + parts.value(0)
              << QStringLiteral("Дисциплина: ") + parts.value(1)
              << QStringLiteral("Тип занятия: ") + parts.value(2)
              << QStringLiteral("Аудитория: ") + parts.value(3);
    }
    QString text;
    for (const QString &line : lines) {
        if (text.size() + line.size() > kTooltipLimit)
            return text + QStringLiteral("\n   ...");
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += line;
    }
    return text;
}

} // namespace korvesta
