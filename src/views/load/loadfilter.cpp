#include "loadfilter.h"

#include "data/queries.h"
#include "views/lists/celltext.h"

#include <array>

namespace korvesta {

namespace {

struct FixedEntry
{
    const char16_t *entry;
    LoadFilter::Kind kind;
    const char16_t *value; // the type text the entry stands for
};

// The fixed entries in the menu's order; the type texts are those of the template's lists.
// "Бюджетые" is spelled as planners know it from the menu.
constexpr std::array<FixedEntry, 6> kTypeEntries = {{
    {u"Бюджетые", LoadFilter::Kind::Finance, u"Бюджетная"},
    {u"Внебюджетные", LoadFilter::Kind::Finance, u"Внебюджетная"},
    {u"Очные", LoadFilter::Kind::Tuition, u"Очная"},
    {u"Заочные", LoadFilter::Kind::Tuition, u"Заочная"},
    {u"Вечерние", LoadFilter::Kind::Tuition, u"Вечерняя"},
    {u"Дистанционные", LoadFilter::Kind::Tuition, u"Дистанционная"},
}};

const QString kCoursePrefix = QStringLiteral("Курс ");
const QString kGiven = QStringLiteral("Нагрузка выдана");
const QString kLeft = QStringLiteral("Осталась нагрузка");
const QString kSeparator = QStringLiteral("-");

QHash<int, QString> readNames(DocumentQueries &queries, const QString &list,
                              const QString &field)
{
    QHash<int, QString> names;
    std::optional<Recordset> rs = queries.OpenList(list);
    if (!rs)
        return names;
    const int key = requiredField(*rs, QStringLiteral("Key"));
    const int name = requiredField(*rs, field);
    for (; !rs->isEof(); rs->moveNext())
        names.insert(rs->value(key).toInt(), cellText(rs->value(name)));
    return names;
}

bool sameText(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

const QString LoadFilter::AllEntry = QStringLiteral("Все");

LoadFilterLists LoadFilterLists::read(DocumentQueries &queries)
{
    LoadFilterLists lists;
    if (std::optional<Recordset> rs = queries.OpenList(QStringLiteral("GroupsInCourse"))) {
        const int course = requiredField(*rs, QStringLiteral("Course"));
        for (; !rs->isEof(); rs->moveNext())
            lists.courses << cellText(rs->value(course));
    }
    if (std::optional<Recordset> rs = queries.OpenList(QStringLiteral("DisciplineType"))) {
        const int key = requiredField(*rs, QStringLiteral("Key"));
        const int type = requiredField(*rs, QStringLiteral("Type"));
        for (; !rs->isEof(); rs->moveNext()) {
            const QString name = cellText(rs->value(type));
            lists.specializations << name;
            lists.specializationNames.insert(rs->value(key).toInt(), name);
        }
    }
    lists.tuitionNames =
        readNames(queries, QStringLiteral("TypeTuition"), QStringLiteral("TypeTuition"));
    lists.financeNames =
        readNames(queries, QStringLiteral("TypeFinance"), QStringLiteral("TypeFinance"));
    return lists;
}

QStringList LoadFilter::menuEntries(const LoadFilterLists &lists)
{
    QStringList entries;
    for (std::size_t i = 0; i < kTypeEntries.size(); ++i) {
        if (i == 0 || kTypeEntries[i].kind != kTypeEntries[i - 1].kind)
            entries << kSeparator;
        entries << QString::fromUtf16(kTypeEntries[i].entry);
    }
    if (!lists.courses.isEmpty()) {
        entries << kSeparator;
        for (const QString &course : lists.courses)
            entries << kCoursePrefix + course;
    }
    if (!lists.specializations.isEmpty()) {
        entries << kSeparator;
        entries += lists.specializations;
    }
    entries << kSeparator << kGiven << kLeft;
    return entries;
}

LoadFilter LoadFilter::forEntry(const QString &entry, const LoadFilterLists &lists)
{
    LoadFilter filter;
    if (entry.isEmpty() || entry == AllEntry)
        return filter;
    for (const FixedEntry &fixed : kTypeEntries) {
        if (entry == QString::fromUtf16(fixed.entry)) {
            filter.m_kind = fixed.kind;
            filter.m_value = QString::fromUtf16(fixed.value);
            return filter;
        }
    }
    const QString course = entry.startsWith(kCoursePrefix) ? entry.mid(kCoursePrefix.size())
                                                            : QString();
    if (!course.isEmpty() && lists.courses.contains(course)) {
        filter.m_kind = Kind::Course;
        filter.m_value = course;
    } else if (entry == kGiven) {
        filter.m_kind = Kind::Given;
    } else if (entry == kLeft) {
        filter.m_kind = Kind::Left;
    } else if (lists.specializations.contains(entry)) {
        filter.m_kind = Kind::Specialization;
        filter.m_value = entry;
    } else if (!course.isEmpty()) {
        // A course whose last group has gone: its lines are none.
        filter.m_kind = Kind::Course;
        filter.m_value = course;
    } else {
        filter.m_kind = Kind::Specialization;
        filter.m_value = entry;
    }
    return filter;
}

bool LoadFilter::readsTypes() const
{
    return m_kind == Kind::Finance || m_kind == Kind::Tuition || m_kind == Kind::Specialization;
}

bool LoadFilter::accepts(const LoadLine &line) const
{
    switch (m_kind) {
    case Kind::All:
        return true;
    case Kind::Finance:
        return sameText(line.finance, m_value);
    case Kind::Tuition:
        return sameText(line.tuition, m_value);
    case Kind::Course:
        return line.course == m_value;
    case Kind::Specialization:
        return sameText(line.specialization, m_value);
    case Kind::Given:
        return line.placed >= line.hours;
    case Kind::Left:
        return line.placed < line.hours;
    }
    return true;
}

} // namespace korvesta
