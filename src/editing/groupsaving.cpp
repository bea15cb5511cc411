#include "entrychecks.h"
#include "listednames.h"
#include "referencesaving.h"

#include "data/database.h"
#include "data/history.h"
#include "data/prompts.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "settings/settingsrecord.h"

namespace korvesta {

namespace {

// Captions of the group list's columns, which the messages quote.
const QString kCourse = QStringLiteral("Курс");
const QString kGroup = QStringLiteral("Группа");
const QString kFaculty = QStringLiteral("Факультет");
const QString kTuition = QStringLiteral("Форма обучения");
const QString kFinance = QStringLiteral("Финансирование");
const QString kComment = QStringLiteral("Комментарий");
// The faculty of a group entered without one (type key 1), as the group list names it.
const QString kNoFaculty = QStringLiteral("отсутствует");
const QString kGroupField = QStringLiteral("Group");
const QString kCourseField = QStringLiteral("Course");

bool requiredCellsFilled(Prompts &prompts, const SettingsRecord &settings, const GroupRow &row,
                         bool adding)
{
    std::vector<EntryCell> cells = {{row.course, kCourse}, {row.group, kGroup}};
    if (!adding) {
        return requireCells(prompts, cells, QStringLiteral("Поле '"),
                            QStringLiteral("' должно быть заполнено"));
    }
    if (settings.UseTypeFaculty)
        cells.push_back({row.faculty, kFaculty});
    if (settings.UseTypeTuition)
        cells.push_back({row.tuition, kTuition});
    if (settings.UseTypeFinance)
        cells.push_back({row.finance, kFinance});
    return requireCells(prompts, cells, QStringLiteral("Поле "),
                        QStringLiteral(" не должно быть пустым"));
}

// A new group is a duplicate when its name, course and faculty are those of a listed group;
// an edited one when its name and course are those of any other group.
bool isDuplicate(const Database &db, Prompts &prompts, const GroupRow &row,
                 std::optional<int> editedKey, ListedNames *listed)
{
    const QString group = row.group.trimmed();
    const QString course = row.course.trimmed().toUpper();
    if (editedKey) {
        Recordset rs = db.openRecordset(QStringLiteral("SELECT tblGroups.Key, tblGroups.Group, "
                                                       "tblGroups.Course "
                                                       "FROM tblGroups;"));
        const int same = findRecord(rs, *editedKey, [&](const Recordset &r) {
            return sameName(textOf(r, kGroupField), group)
                   && sameName(textOf(r, kCourseField), course);
        });
        if (same == 0)
            return false;
        prompts.message(QStringLiteral("Такая группа уже существует"), Prompts::Icon::Warning);
        return true;
    }
    const QString faculty = row.faculty.trimmed().isEmpty() ? kNoFaculty : row.faculty.trimmed();
    bool same = false;
    if (listed) {
        listed->loadOnce([&db](ListedNames &names) {
            Recordset rs = db.queryDef(QStringLiteral("qryGroups")).openRecordset();
            for (; !rs.isEof(); rs.moveNext())
                names.add(ListedNames::key({textOf(rs, kGroupField), textOf(rs, kCourseField),
                                            textOf(rs, QStringLiteral("TypeFaculty"))}));
        });
        same = listed->contains(ListedNames::key({group, course, faculty}));
    } else {
        Recordset rs = db.queryDef(QStringLiteral("qryGroups")).openRecordset();
        same = findRecord(rs, 0, [&](const Recordset &r) {
            return sameName(textOf(r, kGroupField), group)
                   && sameName(textOf(r, kCourseField), course)
                   && sameName(textOf(r, QStringLiteral("TypeFaculty")), faculty);
        }) != 0;
    }
    if (!same)
        return false;
    prompts.message(QStringLiteral("Группа ") + group + QStringLiteral(" (") + course
                        + QStringLiteral(") факультет ") + faculty
                        + QStringLiteral(" уже существует в списке.") + QStringLiteral("\r\n")
                        + QStringLiteral("Повторно вводить не буду"),
                    Prompts::Icon::Warning);
    return true;
}

} // namespace

SaveResult saveGroup(const Database &db, const SettingsRecord &settings, Prompts &prompts,
                     const GroupRow &row, std::optional<int> editedKey, ListedNames *listed)
{
    if (editedKey)
        listed = nullptr;
    if (!requiredCellsFilled(prompts, settings, row, !editedKey))
        return {};
    if (!checkCommentLength(prompts, row.comment, kComment))
        return {};
    if (isDuplicate(db, prompts, row, editedKey, listed))
        return {};

    const std::optional<int> faculty = typeKeyForCell(db, prompts, TypeList::Faculty, row.faculty,
                                                      kFaculty, settings.UseTypeFaculty);
    if (!faculty)
        return {};
    const std::optional<int> tuition = typeKeyForCell(db, prompts, TypeList::Tuition, row.tuition,
                                                      kTuition, settings.UseTypeTuition);
    if (!tuition)
        return {};
    const std::optional<int> finance = typeKeyForCell(db, prompts, TypeList::Finance, row.finance,
                                                      kFinance, settings.UseTypeFinance);
    if (!finance)
        return {};

    const History::Step step(db, (editedKey ? QStringLiteral("изменение группы «")
                                            : QStringLiteral("добавление группы «"))
                                     + row.group.trimmed() + QStringLiteral("»"));
    std::optional<Recordset> rs = openForSave(db, prompts, QStringLiteral("tblGroups"), editedKey);
    if (!rs)
        return {};
    rs->setValue(kGroupField, row.group.trimmed());
    rs->setValue(kCourseField, row.course.trimmed().toUpper());
    if (row.color)
        rs->setValue(QStringLiteral("GroupColor"), qint64(*row.color));
    rs->setValue(QStringLiteral("Key_TypeFaculty"), *faculty);
    rs->setValue(QStringLiteral("Key_TypeTuition"), *tuition);
    rs->setValue(QStringLiteral("Key_TypeFinance"), *finance);
    rs->setValue(QStringLiteral("Comment"), row.comment.trimmed());
    const int key = rs->value(QStringLiteral("Key")).toInt();
    rs->update();
    // The list names the faculty a group was given, "отсутствует" for the first.
    if (listed)
        listed->add(ListedNames::key({row.group, row.course.toUpper(),
                                      *faculty == 1 ? kNoFaculty : row.faculty}));
    return {true, key};
}

} // namespace korvesta
