#include "entrychecks.h"
#include "referencesaving.h"

#include "data/database.h"
#include "data/history.h"
#include "data/prompts.h"
#include "data/recordset.h"
#include "settings/settingsrecord.h"

namespace korvesta {

namespace {

const QString kDiscType = QStringLiteral("Специализация");
const QString kDiscipline = QStringLiteral("Краткое наименование");
const QString kDiscipline1 = QStringLiteral("Полное наименование");
const QString kLevel = QStringLiteral("Сложность");

bool requiredCellsFilled(Prompts &prompts, const SettingsRecord &settings, const DisciplineRow &row)
{
    std::vector<EntryCell> cells;
    if (settings.UseTypeDiscipline)
        cells.push_back({row.discType, kDiscType});
    cells.push_back({row.discipline, kDiscipline});
    cells.push_back({row.discipline1, kDiscipline1});
    return requireCells(prompts, cells, QStringLiteral("Поле '"),
                        QStringLiteral("' не должно быть пустым"));
}

// A new discipline repeats one when both names agree; an edited one when its short name is
// that of another discipline.
bool isDuplicate(const Database &db, Prompts &prompts, const DisciplineRow &row,
                 std::optional<int> editedKey)
{
    const QString discipline = row.discipline.trimmed();
    const QString discipline1 = row.discipline1.trimmed();
    Recordset rs = db.openRecordset(QStringLiteral("SELECT tblDisciplines.Key, "
                                                   "tblDisciplines.Discipline, "
                                                   "tblDisciplines.Discipline1 "
                                                   "FROM tblDisciplines;"));
    const int same = findRecord(rs, editedKey.value_or(0), [&](const Recordset &r) {
        return sameName(textOf(r, QStringLiteral("Discipline")), discipline)
               && (editedKey || sameName(textOf(r, QStringLiteral("Discipline1")), discipline1));
    });
    if (same == 0)
        return false;
    if (editedKey) {
        prompts.message(QStringLiteral("Такая дисциплина уже существует"), Prompts::Icon::Warning);
    } else {
        prompts.message(QStringLiteral("Дисциплина '") + discipline + QStringLiteral(" (")
                            + discipline1 + QStringLiteral(")'") + QStringLiteral("\r\n")
                            + QStringLiteral("уже существует в списке."),
                        Prompts::Icon::Warning);
    }
    return true;
}

} // namespace

SaveResult saveDiscipline(const Database &db, const SettingsRecord &settings, Prompts &prompts,
                          const DisciplineRow &row, std::optional<int> editedKey)
{
    if (!editedKey && !requiredCellsFilled(prompts, settings, row))
        return {};
    if (isDuplicate(db, prompts, row, editedKey))
        return {};

    std::optional<int> discType = 1;
    if (settings.UseTypeDiscipline)
        discType = typeKeyForCell(db, prompts, TypeList::DiscType, row.discType, kDiscType, true);
    if (!discType)
        return {};
    const std::optional<int> level = levelFromText(row.levelDiff);
    if (!level) {
        prompts.message(QStringLiteral("Поле '") + kLevel
                            + QStringLiteral("' может принимать значения: ") + levelText(0)
                            + QStringLiteral(", ") + levelText(1) + QStringLiteral(", ")
                            + levelText(2),
                        Prompts::Icon::Warning);
        return {};
    }

    const History::Step step(db, (editedKey ? QStringLiteral("изменение дисциплины «")
                                            : QStringLiteral("добавление дисциплины «"))
                                     + row.discipline.trimmed() + QStringLiteral("»"));
    std::optional<Recordset> rs =
        openForSave(db, prompts, QStringLiteral("tblDisciplines"), editedKey);
    if (!rs)
        return {};
    rs->setValue(QStringLiteral("DiscType"), *discType);
    rs->setValue(QStringLiteral("Discipline"), row.discipline.trimmed());
    rs->setValue(QStringLiteral("Discipline1"), row.discipline1.trimmed());
    if (row.color)
        rs->setValue(QStringLiteral("DiscColor"), qint64(*row.color));
    rs->setValue(QStringLiteral("LevelDiff"), *level);
    const int key = rs->value(QStringLiteral("Key")).toInt();
    rs->update();
    return {true, key};
}

} // namespace korvesta
