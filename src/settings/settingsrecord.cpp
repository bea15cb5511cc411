#include "settingsrecord.h"

#include "settingsstore.h"

#include <limits>
#include <variant>

namespace korvesta {

namespace {

// A 16-bit integer, a 32-bit colour, a Boolean or a text field of the record.
struct Short
{
    int SettingsRecord::*field;
};
struct Colour
{
    quint32 SettingsRecord::*field;
};
using Field = std::variant<bool SettingsRecord::*, Short, Colour, QString SettingsRecord::*>;

struct Entry
{
    const char *key;
    Field field;
};

// The order of saving.
const Entry entries[] = {
    {"CheckDelete", &SettingsRecord::CheckDelete},
    {"SaveCurrTable", &SettingsRecord::SaveCurrTable},
    {"LessonsToGroup", Short{&SettingsRecord::LessonsToGroup}},
    {"ExcelPrintPreview", &SettingsRecord::ExcelPrintPreview},
    {"ExcelPrintFormat", &SettingsRecord::ExcelPrintFormat},
    {"HoursValue", Short{&SettingsRecord::HoursValue}},
    {"LessonsToTutor", Short{&SettingsRecord::LessonsToTutor}},
    {"JobOverFlow", &SettingsRecord::JobOverFlow},
    {"OverFlowView", &SettingsRecord::OverFlowView},
    {"LessonsInDay", Short{&SettingsRecord::LessonsInDay}},
    {"LessonsInPeriod", Short{&SettingsRecord::LessonsInPeriod}},
    {"SortPrep", &SettingsRecord::SortPrep},
    {"WorkTimePeriod", Short{&SettingsRecord::WorkTimePeriod}},
    {"WorkDays", Short{&SettingsRecord::WorkDays}},
    {"SortDiscAuto", &SettingsRecord::SortDiscAuto},
    {"ShowWeekNumber", &SettingsRecord::ShowWeekNumber},
    {"FreeWindow", &SettingsRecord::FreeWindow},
    {"ShowTimeLesson", &SettingsRecord::ShowTimeLesson},
    {"TimePlace", &SettingsRecord::TimePlace},
    {"SubGroupCount", Short{&SettingsRecord::SubGroupCount}},
    {"PathDB", &SettingsRecord::PathDB},
    {"UseFooterReport", &SettingsRecord::UseFooterReport},
    {"UseHeadReport", &SettingsRecord::UseHeadReport},
    {"FooterReport", &SettingsRecord::FooterReport},
    {"HeaderReport", &SettingsRecord::HeaderReport},
    {"MergeLessons", &SettingsRecord::MergeLessons},
    {"ShowLevelDiff", &SettingsRecord::ShowLevelDiff},
    {"CountGroupOnLecture", Short{&SettingsRecord::CountGroupOnLecture}},
    {"ShowTotals", &SettingsRecord::ShowTotals},
    {"ShowColorItem", &SettingsRecord::ShowColorItem},
    {"UseTypeFinance", &SettingsRecord::UseTypeFinance},
    {"UseTypeTuition", &SettingsRecord::UseTypeTuition},
    {"UseTypeFaculty", &SettingsRecord::UseTypeFaculty},
    {"UseTypeDiscipline", &SettingsRecord::UseTypeDiscipline},
    {"CheckAuditoria", &SettingsRecord::CheckAuditoria},
    {"SubGroupColor", Colour{&SettingsRecord::SubGroupColor}},
    {"FixMonthView", &SettingsRecord::FixMonthView},
};

const QString kSection = QStringLiteral("Settings");

// Text to Boolean as the store has always read it: True/False in any case, or a number
// (not zero is true).
bool toBool(const QString &text, bool *ok)
{
    const QString t = text.trimmed();
    *ok = true;
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const double number = t.toDouble(ok);
    return *ok && number != 0;
}

} // namespace

void SettingsRecord::load(const SettingsStore &store)
{
    const SettingsRecord defaults;
    // A text that never occurs in the store stands for a missing key.
    const QString missing = QStringLiteral("\x01missing");
    for (const Entry &e : entries) {
        const QString text = store.readText(kSection, QString::fromLatin1(e.key), missing);
        const bool isMissing = text == missing;
        std::visit(
            [&](auto field) {
                using T = decltype(field);
                bool ok = true;
                if constexpr (std::is_same_v<T, bool SettingsRecord::*>) {
                    const bool v = isMissing ? defaults.*field : toBool(text, &ok);
                    if (ok)
                        this->*field = v;
                } else if constexpr (std::is_same_v<T, Short>) {
                    const int v = isMissing ? defaults.*field.field : text.trimmed().toInt(&ok);
                    if (ok && v >= std::numeric_limits<qint16>::min()
                        && v <= std::numeric_limits<qint16>::max())
                        this->*field.field = v;
                } else if constexpr (std::is_same_v<T, Colour>) {
                    const qint64 v = isMissing ? qint64(defaults.*field.field)
                                               : text.trimmed().toLongLong(&ok);
                    if (ok && v >= std::numeric_limits<qint32>::min()
                        && v <= std::numeric_limits<quint32>::max())
                        this->*field.field = quint32(v);
                } else {
                    this->*field = isMissing ? defaults.*field : text;
                }
            },
            e.field);
    }
}

void SettingsRecord::save(SettingsStore &store) const
{
    for (const Entry &e : entries) {
        const QString key = QString::fromLatin1(e.key);
        std::visit(
            [&](auto field) {
                using T = decltype(field);
                if constexpr (std::is_same_v<T, bool SettingsRecord::*>)
                    store.writeBool(kSection, key, this->*field);
                else if constexpr (std::is_same_v<T, Short>)
                    store.writeInt(kSection, key, this->*field.field);
                else if constexpr (std::is_same_v<T, Colour>)
                    store.write(kSection, key, QString::number(this->*field.field));
                else
                    store.write(kSection, key, this->*field);
            },
            e.field);
    }
}

} // namespace korvesta
