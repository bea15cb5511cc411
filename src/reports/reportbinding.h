#pragma once

#include "reportcontent.h"

#include <QDate>
#include "data/apppaths.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

namespace korvesta {

class Recordset;
struct ReportLayout;
struct SettingsRecord;

// The report's own values that its texts can name: {@object}, {@from}, {@to}, {@today}.
struct ReportValues
{
    QString object;
    QDate from;
    QDate to;
    QDate today = QDate::currentDate();
    // {@lessons}: the lessons given, a lesson for several groups once (distinct date and
    // lesson number among the rows); counted by the binding.
    int lessons = 0;
};

// A text of a layout read once and filled for each row: literal text, {Field|format},
// {@value} and optional [parts].
class ReportTemplate
{
public:
    explicit ReportTemplate(const QString &text = QString());

    // Field names resolve to the recordset's columns once; unknown ones are added to
    // `missing` and stay empty.
    void bind(const QStringList &fieldNames, QStringList &missing);
    QString expand(const std::vector<QVariant> &row, const ReportValues &values, int count) const;
    bool isEmpty() const { return m_parts.empty(); }

    struct Part;

private:
    std::vector<Part> m_parts;
};

// A field's value as the reports show it: dates "dd.MM.yyyy" unless a pattern is given,
// "weekday" for the day's name (of a date, or of a day number counted from Monday = 1),
// whole numbers without a fraction, an empty text for Null.
QString formatReportValue(const QVariant &value, const QString &format);

// Lays the rows of rs out by the layout. Fields the layout names that the recordset lacks
// are listed in `problems`. `adjust`, when given, sees each row's values (in the order of
// rs's fields) before the layout does.
using ReportRowAdjust = std::function<void(std::vector<QVariant> &row)>;
ReportContent bindReport(const ReportLayout &layout, Recordset &rs, const ReportValues &values,
                         QStringList *problems = nullptr, const ReportRowAdjust &adjust = {});
// The same with no rows at all: the headings of the report and nothing under them.
ReportContent bindEmptyReport(const ReportLayout &layout, const ReportValues &values);

// The small texts at the head and foot of every page, from the options: the institution's
// header when UseHeadReport is on; "Подготовил(а):" with FooterReport (or the login name)
// when UseFooterReport is on, and the moment the report was made.
void decorateReport(ReportContent &content, const SettingsRecord &record,
                    const QDateTime &made);


} // namespace korvesta
