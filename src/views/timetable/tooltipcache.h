#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace korvesta {

class GridModel;
struct SettingsRecord;

// The day view's tooltip cache: for each placed lesson its tutor, full discipline, kind of
// lesson and auditorium, kept in an INI scratch file from one day-view fill to the next.
// Sections are "group\course\faculty", keys "lesson\subgroup", values
// "tutor;discipline;kind;auditorium", a ';' or '\' inside a part escaped by a '\'.
class TooltipCache
{
public:
    explicit TooltipCache(QString path);

    static QString section(const QString &group, const QString &course, const QString &faculty);
    static QString key(int lesson, int subGroup);
    // The parts of a lesson as one value, and back.
    static QString details(const QStringList &parts);
    static QStringList detailsOf(const QString &value);

    // Deletes the file, so that no tooltip of another date outlives a fill.
    void discard();
    // Collects an entry; a later entry for the same section and key replaces it.
    void add(const QString &section, const QString &key, const QString &value);
    // Writes the collected entries in one go; false when the file cannot be written.
    bool save() const;

private:
    struct Section
    {
        QString name;
        std::vector<std::pair<QString, QString>> entries;
        QHash<QString, size_t> index; // case-folded key -> entry
    };

    QString m_path;
    std::vector<Section> m_sections;
    QHash<QString, size_t> m_index; // case-folded section name -> section
};

// The tooltip of a day-view cell: what the cache says of each subgroup's lesson there, one
// labelled line per part. Empty for a cell that is no lesson of a group or holds nothing.
QString dayTimetableTooltip(const GridModel &grid, const SettingsRecord &record,
                            const QString &cachePath, int row, int col);

} // namespace korvesta
