#pragma once

#include "reportcontent.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace korvesta {

// The layout of one report as Reports.xml writes it:
//
//   <report name="РАСПИСАНИЕ ГРУППЫ" orientation="portrait" skip-empty="Field">
//     <title>Расписание группы</title>
//     <line>{@object}</line>                    lines under the title
//     <group text="{Date|weekday}, {Date|dd.MM.yyyy}"/>   a heading when its text changes
//     <column caption="№" width="6" align="center" text="{Lesson}" total="Hours"/>
//     <summary>Всего занятий: {@count}</summary>  lines after the table
//   </report>
//
// Texts are templates: {Field} is a field of the row, {Field|format} the field formatted
// (a date pattern such as dd.MM.yyyy, or "weekday" for the day's name), {@object}, {@from},
// {@to}, {@count} (rows), {@lessons} (distinct date and lesson: a lesson for several groups
// once) and {@today} are the report's own values; a part in [brackets] is left out when
// every field in it is empty or 0. Lines before and after the table read the first row,
// also one the table leaves out. skip-empty leaves out the rows whose field is empty. A column with total sums that
// field under each group and at the end.
struct ReportLayout
{
    struct Column
    {
        QString caption;
        QString text;
        double width = 10;
        ReportContent::Align align = ReportContent::Align::Left;
        QString totalField; // empty: no total
    };

    QString name;
    QString title;
    bool landscape = false;
    QStringList lines;
    QString groupText; // empty: no groups
    std::vector<Column> columns;
    QStringList summary;
    QString skipEmpty;
    int line = 0; // where the report starts in its file
};

// The reports of one Reports.xml by name.
class ReportLayouts
{
public:
    // Reads a layout file's text. On a fault nothing is kept and the reason, with the line it
    // was found on, is returned.
    std::optional<QString> read(const QByteArray &xml);

    const ReportLayout *find(const QString &name) const;
    QStringList names() const;
    // The reports of other replace those of the same name; the rest are kept.
    void overrideWith(const ReportLayouts &other);

private:
    std::map<QString, ReportLayout> m_reports;
};

// Where the layouts come from: the program's own, and a Reports.xml the planner puts in the
// program's folder or beside the document, whose reports take the place of the program's of
// the same name.
struct ReportLayoutSources
{
    QString builtIn = QStringLiteral(":/reports/Reports.xml");
    QStringList overrides; // files looked for, in order; a later one wins

    // The folder of the document and the program's folder.
    static ReportLayoutSources standard(const QString &documentPath,
                                        const QString &applicationFolder);
};

// The layouts read from the sources. What went wrong is told in `problems`: a file that
// cannot be read, a broken override (named with the line; the program's layouts are used).
struct LoadedLayouts
{
    ReportLayouts layouts;
    QStringList problems;
    QString builtInFile; // as messages name it
    QString overrideFile; // the override in use; empty when none
};
LoadedLayouts loadReportLayouts(const ReportLayoutSources &sources);

} // namespace korvesta
