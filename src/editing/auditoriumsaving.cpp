#include "entrychecks.h"
#include "listednames.h"
#include "referencesaving.h"

#include "data/database.h"
#include "data/history.h"
#include "data/prompts.h"
#include "data/querydef.h"
#include "data/recordset.h"

namespace korvesta {

namespace {

const QString kCorpus = QStringLiteral("Корпус");
const QString kAuditoria = QStringLiteral("Аудитория");

bool requiredCellsFilled(Prompts &prompts, const AuditoriumRow &row, bool adding)
{
    if (adding) {
        return requireCells(prompts, {{row.auditoria, kAuditoria}}, QStringLiteral("Поле "),
                            QStringLiteral(" не должно быть пустым"));
    }
    return requireCells(prompts, {{row.corpus, kCorpus}, {row.auditoria, kAuditoria}},
                        QStringLiteral("Поле '"), QStringLiteral("' должно быть заполнено"));
}

// Two auditoriums cannot share a name in one building; a building left empty is "Главный",
// also in records written before that rule.
bool isDuplicate(const Database &db, Prompts &prompts, const AuditoriumRow &row,
                 std::optional<int> editedKey, ListedNames *listed)
{
    const QString auditoria = row.auditoria.trimmed();
    const QString corpus = corpusFromCell(row.corpus);
    bool same = false;
    if (listed) {
        listed->loadOnce([&db](ListedNames &names) {
            Recordset rs = db.queryDef(QStringLiteral("qryAuditories")).openRecordset();
            for (; !rs.isEof(); rs.moveNext())
                names.add(ListedNames::key(
                    {textOf(rs, QStringLiteral("Auditoria")),
                     corpusFromCell(textOf(rs, QStringLiteral("Corpus")))}));
        });
        same = listed->contains(ListedNames::key({auditoria, corpus}));
    } else {
        Recordset rs = db.queryDef(QStringLiteral("qryAuditories")).openRecordset();
        same = findRecord(rs, editedKey.value_or(0), [&](const Recordset &r) {
            return sameName(textOf(r, QStringLiteral("Auditoria")), auditoria)
                   && sameName(corpusFromCell(textOf(r, QStringLiteral("Corpus"))), corpus);
        }) != 0;
    }
    if (!same)
        return false;
    if (editedKey) {
        prompts.message(QStringLiteral("Такая аудитория уже существует"), Prompts::Icon::Warning);
    } else {
        prompts.message(QStringLiteral("Аудитория ") + auditoria + QStringLiteral(" (корпус ")
                            + corpus + QStringLiteral(") уже существует в списке.")
                            + QStringLiteral("\r\n")
                            + QStringLiteral("А по законам физики две аудитории не могут "
                                             "находиться в одном месте в одно время"),
                        Prompts::Icon::Warning);
    }
    return true;
}

} // namespace

QString corpusFromCell(const QString &cell)
{
    const QString corpus = cell.trimmed();
    return corpus.isEmpty() ? QStringLiteral("Главный") : corpus;
}

SaveResult saveAuditorium(const Database &db, Prompts &prompts, const AuditoriumRow &row,
                          std::optional<int> editedKey, ListedNames *listed)
{
    if (editedKey)
        listed = nullptr;
    if (!requiredCellsFilled(prompts, row, !editedKey))
        return {};
    if (isDuplicate(db, prompts, row, editedKey, listed))
        return {};

    const History::Step step(db, (editedKey ? QStringLiteral("изменение аудитории «")
                                            : QStringLiteral("добавление аудитории «"))
                                     + row.auditoria.trimmed() + QStringLiteral("»"));
    std::optional<Recordset> rs =
        openForSave(db, prompts, QStringLiteral("tblAuditories"), editedKey);
    if (!rs)
        return {};
    rs->setValue(QStringLiteral("Corpus"), corpusFromCell(row.corpus));
    rs->setValue(QStringLiteral("Auditoria"), row.auditoria.trimmed());
    rs->setValue(QStringLiteral("CommentAud"), row.comment.trimmed());
    const int key = rs->value(QStringLiteral("Key")).toInt();
    rs->update();
    if (listed)
        listed->add(ListedNames::key({row.auditoria, corpusFromCell(row.corpus)}));
    return {true, key};
}

} // namespace korvesta
