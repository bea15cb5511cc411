#include "entrychecks.h"
#include "listednames.h"
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
                 std::optional<int> editedKey, ListedNames *listed)
{
    const QString discipline = row.discipline.trimmed();
    const QString discipline1 = row.discipline1.trimmed();
    const QString sql = QStringLiteral("SELECT tblDisciplines.Key, tblDisciplines.Discipline, "
                                       "tblDisciplines.Discipline1 FROM tblDisciplines;");
    bool same = false;
    if (listed) {
        listed->loadOnce([&](ListedNames &names) {
            Recordset rs = db.openRecordset(sql);
            for (; !rs.isEof(); rs.moveNext())
                names.add(ListedNames::key({textOf(rs, QStringLiteral("Discipline")),
                                            textOf(rs, QStringLiteral("Discipline1"))}));
        });
        same = listed->contains(ListedNames::key({discipline, discipline1}));
    } else {
        Recordset rs = db.openRecordset(sql);
        same = findRecord(rs, editedKey.value_or(0), [&](const Recordset &r) {
            return sameName(textOf(r, QStringLiteral("Discipline")), discipline)
                   && (editedKey
                       || sameName(textOf(r, QStringLiteral("Discipline1")), discipline1));
        }) != 0;
    }
    if (!same)
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
                          const DisciplineRow &row, std::optional<int> editedKey,
                          ListedNames *listed)
{
    if (editedKey)
        listed = nullptr;
    if (!editedKey && !requiredCellsFilled(prompts, settings, row))
        return {};
    if (isDuplicate(db, prompts, row, editedKey, listed))
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
    if (listed)
        listed->add(ListedNames::key({row.discipline, row.discipline1}));
    return {true, key};
}

} // namespace korvesta
