#include "entrychecks.h"
#include "listednames.h"
#include "referencesaving.h"

#include "data/database.h"
#include "data/history.h"
#include "data/prompts.h"
#include "data/recordset.h"

namespace korvesta {

namespace {

const QString kTutorField = QStringLiteral("Tutor");
const QString kDefaultAudField = QStringLiteral("DefaultAud");

Recordset openTutors(const Database &db)
{
    return db.openRecordset(QStringLiteral("SELECT tblTutors.Key, tblTutors.Tutor, "
                                           "tblTutors.DefaultAud "
                                           "FROM tblTutors "
                                           "ORDER BY tblTutors.Key;"));
}

// Names are told apart ignoring letter case, Cyrillic included, which the document's own
// comparison does not do.
bool isDuplicate(const Database &db, Prompts &prompts, const QString &tutor,
                 std::optional<int> editedKey, ListedNames *listed)
{
    bool same = false;
    if (listed) {
        listed->loadOnce([&db](ListedNames &names) {
            for (Recordset rs = openTutors(db); !rs.isEof(); rs.moveNext())
                names.add(ListedNames::key({textOf(rs, kTutorField)}));
        });
        same = listed->contains(ListedNames::key({tutor}));
    } else {
        Recordset rs = openTutors(db);
        same = findRecord(rs, editedKey.value_or(0), [&](const Recordset &r) {
            return sameName(textOf(r, kTutorField), tutor);
        }) != 0;
    }
    if (!same)
        return false;
    if (editedKey) {
        prompts.message(QStringLiteral("Такой преподаватель уже существует"),
                        Prompts::Icon::Warning);
    } else {
        prompts.message(QStringLiteral("Преподаватель '") + tutor + QStringLiteral("'")
                            + QStringLiteral("\r\n") + QStringLiteral("уже существует в списке."),
                        Prompts::Icon::Warning);
    }
    return true;
}

// The usual auditorium as the lists write it, "Auditoria (Corpus)", taken from the auditorium
// list: a name chosen from the drop-down list or typed in any letter case, or a bare name
// that only one building has. Empty for none; nullopt, after telling the user, for a text
// that names no auditorium or several.
std::optional<QString> usualAuditorium(const Database &db, Prompts &prompts, const QString &cell)
{
    const QString wanted = cell.trimmed();
    if (wanted.isEmpty())
        return QString();
    Recordset rs = db.openRecordset(QStringLiteral("SELECT tblAuditories.Auditoria, "
                                                   "tblAuditories.Corpus "
                                                   "FROM tblAuditories "
                                                   "ORDER BY tblAuditories.Key;"));
    QStringList byName;
    for (; !rs.isEof(); rs.moveNext()) {
        const QString auditoria = textOf(rs, QStringLiteral("Auditoria")).trimmed();
        const QString listed = auditoria + QStringLiteral(" (")
                               + textOf(rs, QStringLiteral("Corpus")).trimmed()
                               + QStringLiteral(")");
        if (sameName(listed, wanted))
            return listed;
        if (sameName(auditoria, wanted))
            byName << listed;
    }
    if (byName.size() == 1)
        return byName.first();
    if (byName.isEmpty()) {
        prompts.message(QStringLiteral("Аудитория '") + wanted
                            + QStringLiteral("' отсутствует в списке аудиторий"),
                        Prompts::Icon::Warning);
    } else {
        prompts.message(QStringLiteral("Аудитория '") + wanted
                            + QStringLiteral("' есть в нескольких корпусах:")
                            + QStringLiteral("\r\n") + QStringLiteral("выберите её из списка"),
                        Prompts::Icon::Warning);
    }
    return std::nullopt;
}

} // namespace

SaveResult saveTutor(const Database &db, Prompts &prompts, const TutorRow &row,
                     std::optional<int> editedKey, ListedNames *listed)
{
    if (editedKey)
        listed = nullptr;
    const QString tutor = row.tutor.trimmed();
    if (tutor.isEmpty()) {
        // An edited tutor left without a name simply keeps his record.
        if (!editedKey) {
            prompts.message(QStringLiteral("Поле 'Преподаватель' должно быть заполнено"));
        }
        return {};
    }
    if (isDuplicate(db, prompts, tutor, editedKey, listed))
        return {};
    const std::optional<QString> auditorium = usualAuditorium(db, prompts, row.defaultAud);
    if (!auditorium)
        return {};

    const History::Step step(db, (editedKey ? QStringLiteral("изменение преподавателя «")
                                            : QStringLiteral("добавление преподавателя «"))
                                     + tutor + QStringLiteral("»"));
    std::optional<Recordset> rs = openForSave(db, prompts, QStringLiteral("tblTutors"), editedKey);
    if (!rs)
        return {};
    rs->setValue(kTutorField, tutor);
    rs->setValue(kDefaultAudField, auditorium->isEmpty() ? QVariant() : QVariant(*auditorium));
    const int key = rs->value(QStringLiteral("Key")).toInt();
    rs->update();
    if (listed)
        listed->add(ListedNames::key({tutor}));
    return {true, key};
}

std::optional<TutorRecord> findTutor(const Database &db, const QString &name)
{
    if (name.trimmed().isEmpty())
        return std::nullopt;
    Recordset rs = openTutors(db);
    const int key = findRecord(
        rs, 0, [&](const Recordset &r) { return sameName(textOf(r, kTutorField), name); });
    if (key == 0)
        return std::nullopt;
    return TutorRecord{key, textOf(rs, kTutorField), textOf(rs, kDefaultAudField)};
}

} // namespace korvesta
