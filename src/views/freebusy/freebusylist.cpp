#include "freebusylist.h"

#include "data/dberror.h"
#include "data/queries.h"
#include "grid/gridcolors.h"
#include "grid/gridmodel.h"
#include "settings/settingsstore.h"
#include "views/lists/celltext.h"
#include "views/timetable/timetablelayout.h"
#include "views/viewcontext.h"

#include <QHash>

namespace korvesta::freebusy {

namespace {

struct KindInfo
{
    const char *word;
    QStringList headers;
    const char *icon;
};

const KindInfo &infoOf(Kind kind)
{
    static const KindInfo infos[] = {
        {"groups", {QStringLiteral("Группы"), QStringLiteral("Курс")}, "GROUP"},
        {"disciplines",
         {QStringLiteral("Дисциплины"), QStringLiteral("Полное название")},
         "DISCIPLINE"},
        {"auditoriums", {QStringLiteral("Аудитории"), QStringLiteral("Корпус")}, "AUDITORIA"},
        {"tutors", {QStringLiteral("Преподаватели")}, "TUTOR"},
    };
    return infos[int(kind) - 1];
}

// Whether the groups of a faculty are shown; a group of no faculty always is.
class FacultyFilter
{
public:
    explicit FacultyFilter(const SettingsStore &settings)
        : m_settings(settings)
    {}

    bool shown(const QVariant &faculty)
    {
        if (faculty.isNull() || !faculty.isValid())
            return true;
        const QString key = faculty.toString();
        auto it = m_shown.find(key);
        if (it == m_shown.end())
            it = m_shown.insert(key, m_settings.readBool(QStringLiteral("Faculty"), key, true));
        return it.value();
    }

private:
    const SettingsStore &m_settings;
    QHash<QString, bool> m_shown;
};

} // namespace

Kind kindOfTab(int tab)
{
    return tab >= 0 && tab < 4 ? Kind(tab + 1) : Kind::Tutors;
}

std::optional<Kind> kindNamed(const QString &name)
{
    for (int k = 1; k <= 4; ++k) {
        if (name.compare(QLatin1String(infoOf(Kind(k)).word), Qt::CaseInsensitive) == 0)
            return Kind(k);
    }
    return std::nullopt;
}

std::optional<List> read(DocumentQueries &queries, const SettingsStore &settings, Kind kind,
                         int lesson, const QDate &date)
{
    List list;
    list.kind = kind;
    list.lesson = std::max(lesson, 1);
    list.date = date;
    const KindInfo &info = infoOf(kind);
    list.headers = info.headers;
    list.icon = QString::fromLatin1(info.icon);

    std::optional<Recordset> rs = queries.OpenFreeBusy(int(kind), list.lesson, date);
    if (!rs)
        return std::nullopt;
    // The name is the query's second field and the detail its third, whatever they are
    // called; only the key, the state and the faculty are read by name.
    if (rs->fieldCount() < (kind == Kind::Tutors ? 2 : 3))
        throw DbError(dberr::ItemNotFound,
                      QStringLiteral("В запросе свободного и занятого времени мало полей"));
    const int keyField = requiredField(*rs, QStringLiteral("Key"));
    const int freeField = requiredField(*rs, QStringLiteral("FreeItem"));
    const int facultyField =
        kind == Kind::Groups ? requiredField(*rs, QStringLiteral("Key_TypeFaculty")) : -1;
    FacultyFilter faculties(settings);
    list.items.reserve(size_t(rs->recordCount()));
    for (; !rs->isEof(); rs->moveNext()) {
        if (facultyField >= 0 && !faculties.shown(rs->value(facultyField)))
            continue;
        Item item;
        item.key = rs->value(keyField).toInt();
        item.name = cellText(rs->value(1));
        if (kind != Kind::Tutors)
            item.detail = cellText(rs->value(2));
        item.free = rs->value(freeField).toBool();
        list.items.push_back(std::move(item));
    }
    return list;
}

ObjectList toObjects(const List &list)
{
    ObjectList objects;
    objects.headers = list.headers;
    objects.entries.reserve(list.items.size());
    const QColor free = colorFromBgr(FreeColor);
    const QColor busy = colorFromBgr(BusyColor);
    for (const Item &item : list.items) {
        ObjectListEntry entry;
        entry.key = QStringLiteral("it") + QString::number(item.key);
        entry.texts << item.name;
        if (list.kind != Kind::Tutors)
            entry.texts << item.detail;
        entry.icon = list.icon;
        entry.foreColor = item.free ? free : busy;
        objects.entries.push_back(std::move(entry));
    }
    return objects;
}

CellMoment cellMoment(const GridModel &grid, const SettingsRecord &record, int viewCode,
                      const QDate &calendarDate)
{
    CellMoment moment{calendarDate, 0};
    const TimetableKind kind = viewCode == 41   ? TimetableKind::Week
                               : viewCode == 42 ? TimetableKind::WorkSchedule
                                                : TimetableKind::Day;
    const TimetableLayout layout = TimetableLayout::ofGrid(kind, record, grid);
    const int row = grid.currentRow();
    moment.lesson = layout.lessonOfRow(grid, row);
    if (kind == TimetableKind::Week && calendarDate.isValid()) {
        if (const int weekday = layout.weekdayOfRow(grid, row); weekday > 0)
            moment.date = calendarDate.addDays(weekday - calendarDate.dayOfWeek());
    }
    return moment;
}

void refillPane(ViewContext &ctx)
{
    ctx.objects.clear();
    const CellMoment moment = cellMoment(ctx.grid, ctx.record, ctx.viewCode, ctx.calendarDate);
    if (!moment.date.isValid())
        return;
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    if (const std::optional<List> list =
            read(queries, ctx.settings, kindOfTab(ctx.tab), moment.lesson, moment.date))
        ctx.objects = toObjects(*list);
}

} // namespace korvesta::freebusy
