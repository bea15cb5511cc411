#include "displaytextmodes.h"

#include "settings/settingsstore.h"

namespace korvesta {

namespace {

using Offered = DisplayTextMode::OfferedIn;

const DisplayTextMode kModes[] = {
    {QStringLiteral("Группа"), QStringLiteral("dGroup"), 1, Offered::WorkSchedule},
    {QStringLiteral("Преподаватель"), QStringLiteral("dTutor"), 3, Offered::DayAndWeek},
    {QStringLiteral("Дисциплина"), QStringLiteral("dDiscipline"), 7, Offered::Always},
    {QStringLiteral("Дисциплина (полностью)"), QStringLiteral("dDiscipline1"), 29,
     Offered::DayAndWeek},
    {QStringLiteral("Аудитория"), QStringLiteral("dAuditoria"), 11, Offered::Always},
    {QStringLiteral("Тип занятия"), QStringLiteral("dLesson"), 24, Offered::Always},
    {QStringLiteral("Группа+Дисциплина"), QStringLiteral("dGroup + dDiscipline"), 8,
     Offered::WorkSchedule},
    {QStringLiteral("Группа+Аудитория"), QStringLiteral("dGroup + dAuditoria"), 12,
     Offered::WorkSchedule},
    {QStringLiteral("Группа+(Тип занятия)"), QStringLiteral("dGroup + dLesson"), 25,
     Offered::WorkSchedule},
    {QStringLiteral("Преподаватель+Аудитория"), QStringLiteral("dTutor + dAuditoria"), 14,
     Offered::DayAndWeek},
    {QStringLiteral("Преподаватель+(Тип занятия)"), QStringLiteral("dTutor + dLesson"), 27,
     Offered::DayAndWeek},
    {QStringLiteral("Дисциплина+Преподаватель"), QStringLiteral("dDiscipline + dTutor"), 10,
     Offered::DayAndWeek},
    {QStringLiteral("Дисциплина+Аудитория"), QStringLiteral("dDiscipline + dAuditoria"), 18,
     Offered::Always},
    {QStringLiteral("Дисциплина+(Тип занятия)"), QStringLiteral("dDiscipline + dLesson"), 31,
     Offered::DayAndWeek},
    {QStringLiteral("Дисциплина+(Тип занятия)+Аудитория"),
     QStringLiteral("dDiscipline + dAuditoria + dLesson"), 42, Offered::DayAndWeek},
    {QStringLiteral("Дисциплина+(Тип занятия)+Аудитория+Преподаватель"),
     QStringLiteral("dDiscipline + dAuditoria + dLesson + dTutor"), 45, Offered::DayAndWeek},
    {QStringLiteral("Дисциплина(полностью)+Аудитория+Преподаватель"),
     QStringLiteral("dDiscipline1 + dTutor + dAuditoria"), 43, Offered::DayAndWeek},
    {QStringLiteral("Дисциплина(полностью)+(Тип занятия)+Аудитория+Преподаватель"),
     QStringLiteral("dDiscipline1 + dAuditoria + dLesson + dTutor"), 67, Offered::DayAndWeek},
};

const QString kSection = QStringLiteral("Settings");

QString currentKey(int item)
{
    return QStringLiteral("DisplayText") + QString::number(item);
}

QString defaultKey(int item)
{
    return QStringLiteral("DisplayTextDefault") + QString::number(item);
}

} // namespace

bool DisplayTextMode::isOfferedIn(int item) const
{
    switch (offeredIn) {
    case OfferedIn::Always:
        return true;
    case OfferedIn::DayAndWeek:
        return item == 0 || item == 1;
    case OfferedIn::WorkSchedule:
        return item == 2;
    }
    return false;
}

std::span<const DisplayTextMode> DisplayTextModes::all()
{
    return kModes;
}

int DisplayTextModes::builtInDefault(int item)
{
    return item == 2 ? 8 : 18;
}

int DisplayTextModes::current(const SettingsStore &settings, int item)
{
    return settings.readInt(kSection, currentKey(item), builtInDefault(item));
}

int DisplayTextModes::resetValue(const SettingsStore &settings, int item)
{
    return settings.readInt(kSection, defaultKey(item), builtInDefault(item));
}

void DisplayTextModes::setCurrent(SettingsStore &settings, int item, int tag)
{
    settings.writeInt(kSection, currentKey(item), tag);
}

} // namespace korvesta
