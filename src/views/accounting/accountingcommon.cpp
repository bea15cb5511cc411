#include "accountingcommon.h"

#include "data/isodate.h"
#include "data/prompts.h"
#include "data/queries.h"
#include "grid/gridmodel.h"
#include "views/lists/celltext.h"
#include "views/viewcontext.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace korvesta::accounting {

QString periodProblem(const QDate &first, const QDate &last)
{
    if (!first.isValid() || !last.isValid())
        return QStringLiteral("Не задан период: укажите его начало и конец");
    if (first > last)
        return QStringLiteral("Начало периода (%1) позже его конца (%2)")
            .arg(first.toString(QStringLiteral("dd.MM.yyyy")),
                 last.toString(QStringLiteral("dd.MM.yyyy")));
    return {};
}

bool checkPeriod(ViewContext &ctx)
{
    const QString problem = periodProblem(ctx.periodFrom, ctx.periodTo);
    if (problem.isEmpty())
        return true;
    ctx.prompts.message(problem, Prompts::Icon::Warning);
    return false;
}

int objectKey(const QString &listKey)
{
    bool ok = false;
    const int key = listKey.mid(2).toInt(&ok);
    return ok && key > 0 ? key : 0;
}

QString monthName(const QDate &date, bool withYear)
{
    QString name = QLocale(QLocale::Russian).standaloneMonthName(date.month(), QLocale::LongFormat);
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    if (withYear)
        name += QStringLiteral(" '") + date.toString(QStringLiteral("yy"));
    return name;
}

QString dayAndMonth(const QDate &date)
{
    QString month =
        QLocale(QLocale::Russian).standaloneMonthName(date.month(), QLocale::LongFormat).left(3);
    if (!month.isEmpty())
        month[0] = month[0].toUpper();
    return date.toString(QStringLiteral("dd")) + QLatin1Char(' ') + month;
}

QDate dateOfField(const QString &name)
{
    // Column names are dates as the user reads them; a name of eight digits ("01092024")
    // takes its dots back.
    QString text = name.trimmed();
    if (text.size() == 8 && text.front().isDigit() && text.back().isDigit()
        && !text.contains(QLatin1Char('.')))
        text = text.left(2) + QLatin1Char('.') + text.mid(2, 2) + QLatin1Char('.') + text.mid(4);
    const QDateTime moment = parseMoment(text);
    return moment.isValid() ? moment.date() : QDate();
}

QString numberText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (ok && number == std::floor(number) && std::fabs(number) < 1e15)
        return QString::number(static_cast<qint64>(number));
    return cellText(value);
}

void widenToText(GridModel &grid, int col, int firstRow, int lastRow, bool picture, int most)
{
    // The core has no fonts to measure with: a letter of the grid's font is taken as about
    // 105 twips (7 pixels), which a text of capitals and digits stays within.
    constexpr int Letter = 105, Picture = 330, Margin = 150;
    qsizetype longest = 0;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (const QString &line : grid.text(row, col).split(QLatin1Char('\n')))
            longest = std::max(longest, line.size());
    }
    const int wanted = int(longest) * Letter + (picture ? Picture : 0) + Margin;
    if (wanted > grid.colWidth(col))
        grid.setColWidth(col, std::min(wanted, std::max(most, grid.colWidth(col))));
}

WaitPointer::WaitPointer(GridModel &grid)
    : m_grid(grid)
{
    m_grid.setMousePointer(MousePointer::Wait);
}

WaitPointer::~WaitPointer()
{
    m_grid.setMousePointer(MousePointer::Default);
}

QHash<int, GroupInfo> readGroups(DocumentQueries &queries)
{
    QHash<int, GroupInfo> groups;
    std::optional<Recordset> rs = queries.OpenList(QStringLiteral("Groups"));
    if (!rs)
        return groups;
    const int key = requiredField(*rs, QStringLiteral("Key"));
    const int group = requiredField(*rs, QStringLiteral("Group"));
    const int course = requiredField(*rs, QStringLiteral("Course"));
    const int faculty = requiredField(*rs, QStringLiteral("TypeFaculty"));
    for (int order = 0; !rs->isEof(); rs->moveNext(), ++order) {
        QString facultyName = cellText(rs->value(faculty));
        // The faculty a group without one is filed under names none.
        if (facultyName == QStringLiteral("отсутствует"))
            facultyName.clear();
        groups.insert(rs->value(key).toInt(), {cellText(rs->value(group)),
                                               cellText(rs->value(course)), facultyName, order});
    }
    return groups;
}

QHash<int, QString> readDisciplineNames(DocumentQueries &queries)
{
    QHash<int, QString> names;
    std::optional<Recordset> rs = queries.OpenList(QStringLiteral("Disciplines"));
    if (!rs)
        return names;
    const int key = requiredField(*rs, QStringLiteral("Key"));
    const int full = requiredField(*rs, QStringLiteral("Discipline1"));
    for (; !rs->isEof(); rs->moveNext())
        names.insert(rs->value(key).toInt(), cellText(rs->value(full)));
    return names;
}

} // namespace korvesta::accounting
