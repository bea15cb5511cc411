#include "viewtable.h"

#include <QLocale>

#include <algorithm>
#include <array>

namespace korvesta {

namespace {

const std::array<SectionEntry, ViewTable::SectionCount> kSections = {{
    {QStringLiteral("ГРУППЫ"), QStringLiteral("Группы"), "ButtonGroups",
     QStringLiteral("Группы"), "GROUP"},
    {QStringLiteral("ДИСЦИПЛИНЫ"), QStringLiteral("Дисциплины"), "ButtonDisciplines",
     QStringLiteral("Дисциплины"), "DISCIPLINE"},
    {QStringLiteral("АУДИТОРИИ"), QStringLiteral("Аудитории"), "ButtonAuditoria",
     QStringLiteral("Аудитории"), "AUDITORIA"},
    {QStringLiteral("ПРЕПОДАВАТЕЛИ"), QStringLiteral("Преподаватели"), "ButtonTutors",
     QStringLiteral("Преподаватели"), "TUTOR"},
    {QStringLiteral("РАСПИСАНИЕ"), QStringLiteral("Расписание"), "ButtonTimeTable",
     QStringLiteral("Расписание"), "TIME_TABLE"},
    {QStringLiteral("ИНДИВИДУАЛЬНОЕ"), QStringLiteral("Отчёты"), "ButtonReports",
     QStringLiteral("Индивидуальное"), "REPORT"},
}};

// In section order; items of a section are adjacent and in item order.
const ViewEntry kViews[] = {
    {0, 0, "GROUP", QStringLiteral("Список групп"), "gr00", QStringLiteral("Список групп")},
    {0, 1, "GROUP_NEW", QStringLiteral("Новая группа"), "gr01", QStringLiteral("Новая группа")},
    {0, 2, "GROUP_PASSPORT", QStringLiteral("Паспорт\nучебной группы"), "gr02",
     QStringLiteral("Паспорт группы")},
    {1, 0, "DISCIPLINES", QStringLiteral("Дисциплины"), "di10",
     QStringLiteral("Список дисциплин")},
    {1, 1, "DISCIPLINE_NEW", QStringLiteral("Новая дисциплина"), "di11",
     QStringLiteral("Новая дисциплина")},
    {2, 0, "AUDITORIA", QStringLiteral("Список аудиторий"), "au20",
     QStringLiteral("Список аудиторий")},
    {2, 1, "KEY", QStringLiteral("Новая аудитория"), "au21", QStringLiteral("Новая аудитория")},
    {3, 0, "KORVESTA", QStringLiteral("Нагрузка"), "tu30", QStringLiteral("Нагрузка")},
    {3, 1, "TUTOR_BLUE", QStringLiteral("Новый преподаватель"), "tu31",
     QStringLiteral("Новый преподаватель")},
    {3, 2, "PASSPORT_TUTOR", QStringLiteral("Паспорт\nпреподавателя"), "tu32",
     QStringLiteral("Паспорт преподавателя")},
    {3, 3, "TABEL", QStringLiteral("Табель"), "tu33", QStringLiteral("Табель")},
    {3, 4, "OTRABOTKA", QStringLiteral("Отработка"), "tu34", QStringLiteral("Отработка")},
    {3, 5, "OTRABOTKA_FULL", QStringLiteral("Отработка (полная)"), "tu35",
     QStringLiteral("Полная отработка")},
    {4, 0, "TIME_TABLE", QStringLiteral("Расписание занятий\nна день"), "tt40",
     QStringLiteral("Расписание на день")},
    {4, 1, "TIME_TABLE_WEEK", QStringLiteral("Расписание занятий\nна неделю"), "tt41",
     QStringLiteral("Расписание на неделю")},
    {4, 2, "GRAPHIK", QStringLiteral("График работы\nпреподавателей"), "tt42",
     QStringLiteral("График работы преподавателей")},
    {4, 3, "BUSYTIME", QStringLiteral("Занятость\nпреподавателя"), "tt43",
     QStringLiteral("Занятость преподавателей")},
    {5, 0, "REPORT_TUTOR", QStringLiteral("Расписание\nпреподавателя"), "rp50",
     QStringLiteral("Расписание преподавателя")},
    {5, 1, "REPORT_GROUP", QStringLiteral("Расписание\nгруппы"), "rp51",
     QStringLiteral("Расписание группы")},
    {5, 2, "REPORT_AUDITORIA", QStringLiteral("Расписание\nаудитории"), "rp52",
     QStringLiteral("Расписание аудитории")},
    {5, 3, "", QStringLiteral("Занятость\nпреподавателя"), "", QString()},
};

// Where each section's items start in kViews, with one past the end last.
constexpr std::array<int, ViewTable::SectionCount + 1> kSectionStart = {0, 3, 5, 7, 13, 17, 21};

} // namespace

std::span<const SectionEntry> ViewTable::sections()
{
    return kSections;
}

const SectionEntry &ViewTable::section(int section)
{
    return kSections.at(std::size_t(section));
}

std::span<const ViewEntry> ViewTable::items(int section)
{
    if (section < 0 || section >= SectionCount)
        return {};
    const std::span<const ViewEntry> all(kViews);
    return all.subspan(std::size_t(kSectionStart[std::size_t(section)]),
                       std::size_t(kSectionStart[std::size_t(section) + 1]
                                   - kSectionStart[std::size_t(section)]));
}

const ViewEntry *ViewTable::find(int section, int item)
{
    const std::span<const ViewEntry> list = items(section);
    if (item < 0 || item >= int(list.size()))
        return nullptr;
    return &list[std::size_t(item)];
}

const ViewEntry *ViewTable::find(int code)
{
    if (code < 0)
        return nullptr;
    return find(code / 10, code % 10);
}

std::optional<ViewTable::Choice> ViewTable::parseMenuKey(const QString &key)
{
    if (key.size() != 4 || !key.at(2).isDigit() || !key.at(3).isDigit())
        return std::nullopt;
    const Choice choice{key.at(2).digitValue(), key.at(3).digitValue()};
    const ViewEntry *view = find(choice.section, choice.item);
    if (!view || key != QLatin1String(view->menuKey))
        return std::nullopt;
    return choice;
}

QString ViewTable::singleLineCaption(int code)
{
    const ViewEntry *view = find(code);
    if (!view)
        return QString();
    QString caption = view->caption;
    caption.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return caption;
}

QString ViewTable::viewTitle(int code, const QDate &date, int workDays)
{
    const QString caption = singleLineCaption(code);
    if (!date.isValid())
        return caption;
    const QLocale russian(QLocale::Russian);
    const auto dateText = [](const QDate &d) { return d.toString(QStringLiteral("dd.MM.yyyy")); };
    switch (code) {
    case 40:
    case 42:
        return caption + QStringLiteral(": ") + russian.dayName(date.dayOfWeek())
               + QStringLiteral(", ") + dateText(date);
    case 41: {
        const QDate monday = date.addDays(1 - date.dayOfWeek());
        const QDate last = monday.addDays(std::clamp(workDays, 1, 7) - 1);
        return caption + QStringLiteral(": ") + dateText(monday) + QStringLiteral(" – ")
               + dateText(last);
    }
    case 43:
        return caption + QStringLiteral(": ")
               + russian.standaloneMonthName(date.month()).toLower() + QLatin1Char(' ')
               + QString::number(date.year());
    default:
        return caption;
    }
}

QString ViewTable::editTitle(int code, const QString &record)
{
    QString title;
    switch (code) {
    case 1:
        title = QStringLiteral("Изменение группы");
        break;
    case 11:
        title = QStringLiteral("Изменение дисциплины");
        break;
    case 21:
        title = QStringLiteral("Изменение аудитории");
        break;
    case 31:
        title = QStringLiteral("Изменение преподавателя");
        break;
    default:
        return singleLineCaption(code);
    }
    const QString name = record.trimmed();
    return name.isEmpty() ? title : title + QLatin1Char(' ') + name;
}

} // namespace korvesta
