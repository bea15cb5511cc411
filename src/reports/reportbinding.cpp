#include "reportbinding.h"

#include "data/isodate.h"
#include "data/recordset.h"
#include "reportlayout.h"
#include "settings/settingsrecord.h"

#include <QLocale>

#include <set>


#include <cmath>
#include <map>

namespace korvesta {

struct ReportTemplate::Part
{
    enum class Kind { Text, Field, Value, Optional };
    Kind kind = Kind::Text;
    QString text;   // the literal, the field's or value's name
    QString format; // of a field
    int index = -1; // of a field in the row
    std::vector<Part> children; // of an optional part
};

namespace {

using Part = ReportTemplate::Part;

const QLocale &russian()
{
    static const QLocale locale(QLocale::Russian, QLocale::Russia);
    return locale;
}

// Reads parts up to the end or up to the `]` that closes an optional part.
std::vector<Part> parseParts(const QString &text, qsizetype &pos, bool inOptional)
{
    std::vector<Part> parts;
    QString literal;
    const auto flush = [&] {
        if (!literal.isEmpty()) {
            parts.push_back(Part{Part::Kind::Text, literal, {}, -1, {}});
            literal.clear();
        }
    };
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (c == u']' && inOptional) {
            ++pos;
            break;
        }
        if (c == u'[') {
            flush();
            ++pos;
            Part optional{Part::Kind::Optional, {}, {}, -1, parseParts(text, pos, true)};
            parts.push_back(std::move(optional));
            continue;
        }
        if (c == u'{') {
            const qsizetype end = text.indexOf(u'}', pos + 1);
            if (end < 0) {
                literal += text.mid(pos);
                pos = text.size();
                break;
            }
            flush();
            const QString inner = text.mid(pos + 1, end - pos - 1);
            pos = end + 1;
            if (inner.startsWith(u'@')) {
                parts.push_back(Part{Part::Kind::Value, inner.mid(1).trimmed(), {}, -1, {}});
            } else {
                const qsizetype bar = inner.indexOf(u'|');
                parts.push_back(Part{Part::Kind::Field, inner.left(bar).trimmed(),
                                     bar < 0 ? QString() : inner.mid(bar + 1).trimmed(), -1,
                                     {}});
            }
            continue;
        }
        literal += c;
        ++pos;
    }
    flush();
    return parts;
}

void bindParts(std::vector<Part> &parts, const QStringList &fields, QStringList &missing)
{
    for (Part &part : parts) {
        if (part.kind == Part::Kind::Optional) {
            bindParts(part.children, fields, missing);
        } else if (part.kind == Part::Kind::Field) {
            part.index = -1;
            for (qsizetype i = 0; i < fields.size(); ++i) {
                if (fields[i].compare(part.text, Qt::CaseInsensitive) == 0) {
                    part.index = int(i);
                    break;
                }
            }
            if (part.index < 0 && !missing.contains(part.text))
                missing << part.text;
        }
    }
}

bool isEmptyValue(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return true;
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::Short:
    case QMetaType::UInt:
        return value.toDouble() == 0;
    case QMetaType::QString:
        return value.toString().trimmed().isEmpty();
    default:
        return false;
    }
}

QString valueText(const QString &name, const ReportValues &values, int count)
{
    if (name == u"object")
        return values.object;
    if (name == u"from")
        return values.from.toString(QStringLiteral("dd.MM.yyyy"));
    if (name == u"to")
        return values.to.toString(QStringLiteral("dd.MM.yyyy"));
    if (name == u"today")
        return values.today.toString(QStringLiteral("dd.MM.yyyy"));
    if (name == u"count")
        return QString::number(count);
    if (name == u"lessons")
        return QString::number(values.lessons);
    return QString();
}

bool valueEmpty(const QString &name, const ReportValues &values, int count)
{
    if (name == u"count")
        return count == 0;
    if (name == u"lessons")
        return values.lessons == 0;
    return valueText(name, values, count).isEmpty();
}

// Appends the parts' text; false when the parts hold fields and every one of them is empty.
bool expandParts(const std::vector<Part> &parts, const std::vector<QVariant> &row,
                 const ReportValues &values, int count, QString &out)
{
    bool anyField = false;
    bool anyFilled = false;
    for (const Part &part : parts) {
        switch (part.kind) {
        case Part::Kind::Text:
            out += part.text;
            break;
        case Part::Kind::Field: {
            anyField = true;
            const QVariant value = part.index >= 0 && std::size_t(part.index) < row.size()
                                       ? row[std::size_t(part.index)]
                                       : QVariant();
            if (!isEmptyValue(value))
                anyFilled = true;
            out += formatReportValue(value, part.format);
            break;
        }
        case Part::Kind::Value:
            anyField = true;
            if (!valueEmpty(part.text, values, count))
                anyFilled = true;
            out += valueText(part.text, values, count);
            break;
        case Part::Kind::Optional: {
            QString inner;
            if (expandParts(part.children, row, values, count, inner))
                out += inner;
            break;
        }
        }
    }
    return !anyField || anyFilled;
}

QString numberText(double number)
{
    if (std::abs(number - std::round(number)) < 1e-9 && std::abs(number) < 1e15)
        return QString::number(qint64(std::llround(number)));
    return QString::number(number, 'g', 15);
}

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

std::vector<QVariant> rowValues(const Recordset &rs)
{
    std::vector<QVariant> row;
    const int count = rs.fieldCount();
    row.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        row.push_back(rs.value(i));
    return row;
}

} // namespace

ReportTemplate::ReportTemplate(const QString &text)
{
    qsizetype pos = 0;
    m_parts = parseParts(text, pos, false);
}

void ReportTemplate::bind(const QStringList &fieldNames, QStringList &missing)
{
    bindParts(m_parts, fieldNames, missing);
}

QString ReportTemplate::expand(const std::vector<QVariant> &row, const ReportValues &values,
                               int count) const
{
    QString out;
    expandParts(m_parts, row, values, count, out);
    return out;
}

QString formatReportValue(const QVariant &value, const QString &format)
{
    if (value.isNull() || !value.isValid())
        return QString();
    QDate date;
    QDateTime moment;
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        date = value.toDate();
        break;
    case QMetaType::QDateTime:
        moment = value.toDateTime();
        date = moment.date();
        break;
    case QMetaType::QString: {
        const QString text = value.toString();
        // Dates kept as text by the document ("2026-09-07") read as dates.
        if ((text.size() == 10 || text.size() == 19) && text[4] == u'-') {
            moment = parseMoment(text);
            date = moment.date();
        }
        if (!date.isValid() && format == u"weekday") {
            bool ok = false;
            const int day = text.toInt(&ok);
            if (ok && day >= 1 && day <= 7)
                return capitalised(russian().standaloneDayName(day, QLocale::LongFormat));
        }
        if (!date.isValid())
            return text;
        break;
    }
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Да") : QStringLiteral("Нет");
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(value.toDouble());
    default:
        if (format == u"weekday") {
            bool ok = false;
            const int day = value.toInt(&ok);
            if (ok && day >= 1 && day <= 7)
                return capitalised(russian().standaloneDayName(day, QLocale::LongFormat));
        }
        return value.toString();
    }
    if (!date.isValid())
        return QString();
    if (format == u"weekday")
        return capitalised(russian().standaloneDayName(date.dayOfWeek(), QLocale::LongFormat));
    if (format.isEmpty())
        return moment.isValid() && moment.time() != QTime(0, 0)
                   ? displayDateText(moment)
                   : date.toString(QStringLiteral("dd.MM.yyyy"));
    return russian().toString(date, format);
}

ReportContent bindReport(const ReportLayout &layout, Recordset &rs, const ReportValues &values,
                         QStringList *problems, const ReportRowAdjust &adjust)
{
    ReportContent content = bindEmptyReport(layout, values);
    const QStringList fields = rs.fieldNames();
    QStringList missing;

    std::vector<ReportTemplate> cells;
    for (const ReportLayout::Column &column : layout.columns)
        cells.emplace_back(column.text);
    for (ReportTemplate &cell : cells)
        cell.bind(fields, missing);
    ReportTemplate group(layout.groupText);
    group.bind(fields, missing);
    std::vector<int> totals; // field index per column, -1 for none
    bool anyTotal = false;
    for (const ReportLayout::Column &column : layout.columns) {
        int index = -1;
        if (!column.totalField.isEmpty()) {
            index = int(fields.indexOf(column.totalField, 0));
            for (qsizetype i = 0; index < 0 && i < fields.size(); ++i)
                if (fields[i].compare(column.totalField, Qt::CaseInsensitive) == 0)
                    index = int(i);
            if (index < 0 && !missing.contains(column.totalField))
                missing << column.totalField;
            anyTotal = anyTotal || index >= 0;
        }
        totals.push_back(index);
    }
    const auto fieldIndex = [&fields](const QString &name) {
        for (qsizetype i = 0; i < fields.size(); ++i)
            if (fields[i].compare(name, Qt::CaseInsensitive) == 0)
                return int(i);
        return -1;
    };
    const int skipIndex = layout.skipEmpty.isEmpty() ? -1 : fieldIndex(layout.skipEmpty);
    // A lesson given to several groups is one row per group, and one lesson.
    const int dateIndex = fieldIndex(QStringLiteral("Date"));
    const int lessonIndex = fieldIndex(QStringLiteral("Lesson"));
    std::set<std::pair<QString, QString>> lessonSlots;

    const std::size_t columnCount = layout.columns.size();
    std::vector<double> blockSums(columnCount, 0);
    std::vector<double> allSums(columnCount, 0);
    const auto totalRow = [&](const QString &label, const std::vector<double> &sums) {
        ReportContent::Row row;
        row.total = true;
        for (std::size_t c = 0; c < columnCount; ++c) {
            ReportContent::Cell cell;
            cell.bold = true;
            if (totals[c] >= 0)
                cell.text = numberText(sums[c]);
            row.cells.push_back(cell);
        }
        // The label goes to the first column that carries no sum.
        for (std::size_t c = 0; c < columnCount; ++c) {
            if (totals[c] < 0) {
                row.cells[c].text = label;
                break;
            }
        }
        return row;
    };

    std::vector<QVariant> first;
    std::vector<ReportContent::Block> blocks;
    bool grouped = !group.isEmpty();
    QString currentHeading;
    for (; !rs.isEof(); rs.moveNext()) {
        std::vector<QVariant> row = rowValues(rs);
        if (adjust)
            adjust(row);
        // The lines above the table read the first row, also when the table leaves it out.
        if (first.empty())
            first = row;
        if (skipIndex >= 0 && isEmptyValue(row[std::size_t(skipIndex)]))
            continue;
        if (dateIndex >= 0 && lessonIndex >= 0)
            lessonSlots.emplace(row[std::size_t(dateIndex)].toString(),
                                row[std::size_t(lessonIndex)].toString());
        const QString heading = grouped ? group.expand(row, values, 0) : QString();
        if (blocks.empty() || heading != currentHeading) {
            if (!blocks.empty() && grouped && anyTotal)
                blocks.back().rows.push_back(totalRow(QStringLiteral("Итого"), blockSums));
            std::fill(blockSums.begin(), blockSums.end(), 0);
            blocks.push_back(ReportContent::Block{heading, {}});
            currentHeading = heading;
        }
        ReportContent::Row out;
        out.cells.reserve(columnCount);
        for (std::size_t c = 0; c < columnCount; ++c) {
            ReportContent::Cell cell;
            cell.text = cells[c].expand(row, values, 0);
            out.cells.push_back(std::move(cell));
            if (totals[c] >= 0) {
                const double number = row[std::size_t(totals[c])].toDouble();
                blockSums[c] += number;
                allSums[c] += number;
            }
        }
        blocks.back().rows.push_back(std::move(out));
    }
    if (!blocks.empty() && anyTotal) {
        if (grouped)
            blocks.back().rows.push_back(totalRow(QStringLiteral("Итого"), blockSums));
        ReportContent::Block all;
        all.rows.push_back(totalRow(QStringLiteral("Всего"), allSums));
        blocks.push_back(std::move(all));
    }
    content.blocks = std::move(blocks);

    const int count = content.dataRowCount();
    ReportValues counted = values;
    counted.lessons = int(lessonSlots.size());
    const auto lines = [&](const QStringList &texts) {
        QStringList out;
        for (const QString &text : texts) {
            ReportTemplate line(text);
            line.bind(fields, missing);
            const QString expanded = line.expand(first, counted, count);
            if (!expanded.trimmed().isEmpty())
                out << expanded;
        }
        return out;
    };
    content.lines = lines(layout.lines);
    content.summary = lines(layout.summary);
    if (problems) {
        for (const QString &field : missing)
            *problems << QStringLiteral("В данных отчёта «%1» нет поля «%2»")
                             .arg(layout.name, field);
    }
    return content;
}

ReportContent bindEmptyReport(const ReportLayout &layout, const ReportValues &values)
{
    ReportContent content;
    content.name = layout.name;
    content.title = layout.title.isEmpty() ? layout.name : layout.title;
    content.landscape = layout.landscape;
    ReportContent::Row headings;
    for (const ReportLayout::Column &column : layout.columns) {
        content.columns.push_back({column.caption, column.width, column.align});
        headings.cells.push_back(ReportContent::Cell{column.caption, {}, {}, true, 1, {}});
    }
    content.headings.push_back(std::move(headings));
    // Lines that name only the report's own values stand without rows as well.
    const std::vector<QVariant> none;
    for (const QString &text : layout.lines) {
        const QString line = ReportTemplate(text).expand(none, values, 0);
        if (!line.trimmed().isEmpty())
            content.lines << line;
    }
    return content;
}

void decorateReport(ReportContent &content, const SettingsRecord &record, const QDateTime &made)
{
    content.pageHeader = record.UseHeadReport ? record.HeaderReport.trimmed() : QString();
    QString who;
    if (record.UseFooterReport)
        who = record.FooterReport.trimmed().isEmpty() ? loginName() : record.FooterReport.trimmed();
    content.pageFooter = QStringLiteral("Подготовил(а): ") + who
                         + (who.isEmpty() ? QString() : QStringLiteral("    "))
                         + made.toString(QStringLiteral("dd.MM.yyyy hh:mm"));
}

} // namespace korvesta
