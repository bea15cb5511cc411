#include "entrychecks.h"

#include "data/database.h"
#include "data/prompts.h"
#include "data/recordset.h"
#include "data/sqltext.h"

namespace korvesta {

bool sameName(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

bool requireCells(Prompts &prompts, const std::vector<EntryCell> &cells, const QString &prefix,
                  const QString &suffix)
{
    for (const EntryCell &cell : cells) {
        if (cell.text.trimmed().isEmpty()) {
            prompts.message(prefix + cell.caption + suffix);
            return false;
        }
    }
    return true;
}

bool checkCommentLength(Prompts &prompts, const QString &comment, const QString &caption)
{
    if (comment.trimmed().size() <= kCommentLimit)
        return true;
    prompts.message(QStringLiteral("Поле ") + caption
                    + QStringLiteral(" не должно превышать 50 знаков"));
    return false;
}

int findTypeKey(const Database &db, TypeList list, const QString &name)
{
    static const struct
    {
        const char *table;
        const char *field;
    } lists[] = {
        {"tblTypeFaculty", "TypeFaculty"},
        {"tblTypeTuition", "TypeTuition"},
        {"tblTypeFinance", "TypeFinance"},
        {"tblDiscType", "Type"},
    };
    const auto &source = lists[static_cast<int>(list)];
    const QString table = QString::fromLatin1(source.table);
    Recordset rs = db.openRecordset(
        QStringLiteral("SELECT %1.Key "
                       "FROM %1 "
                       "WHERE (((%1.%2)=%3)) "
                       "ORDER BY %1.Key;")
            .arg(table, QString::fromLatin1(source.field), sqlText(name.trimmed())));
    return rs.isEof() ? 0 : rs.value(0).toInt();
}

std::optional<int> typeKeyForCell(const Database &db, Prompts &prompts, TypeList list,
                                  const QString &cell, const QString &caption, bool inUse)
{
    if (cell.trimmed().isEmpty())
        return 1;
    const int key = findTypeKey(db, list, cell);
    if (key > 0)
        return key;
    if (!inUse)
        return 1;
    prompts.message(QStringLiteral("Значение '") + cell.trimmed() + QStringLiteral("' поля ")
                        + caption + QStringLiteral(" отсутствует в списке"),
                    Prompts::Icon::Warning);
    return std::nullopt;
}

std::optional<int> levelFromText(const QString &text)
{
    const QString level = text.trimmed();
    if (level.isEmpty() || sameName(level, levelText(0))
        || sameName(level, QStringLiteral("Легкий")))
        return 0;
    for (int value : {1, 2}) {
        if (sameName(level, levelText(value)))
            return value;
    }
    return std::nullopt;
}

QString levelText(int level)
{
    switch (level) {
    case 1:
        return QStringLiteral("Средний");
    case 2:
        return QStringLiteral("Трудный");
    default:
        return QStringLiteral("Лёгкий");
    }
}

int findRecord(Recordset &rs, int exceptKey, const std::function<bool(const Recordset &)> &matches)
{
    for (; !rs.isEof(); rs.moveNext()) {
        const int key = rs.value(QStringLiteral("Key")).toInt();
        if (key != exceptKey && matches(rs))
            return key;
    }
    return 0;
}

std::optional<Recordset> openForSave(const Database &db, Prompts &prompts, const QString &table,
                                     std::optional<int> editedKey)
{
    if (!editedKey) {
        Recordset rs =
            db.openRecordset(QStringLiteral("SELECT %1.* FROM %1 WHERE False;").arg(table));
        rs.addNew();
        return rs;
    }
    Recordset rs = db.openRecordset(QStringLiteral("SELECT %1.* "
                                                   "FROM %1 "
                                                   "WHERE (((%1.Key)=%2));")
                                        .arg(table)
                                        .arg(*editedKey));
    if (rs.isEof()) {
        prompts.message(QStringLiteral("Запись не найдена: возможно, она уже удалена.")
                            + QStringLiteral("\r\n") + QStringLiteral("Обновите список (F5)"),
                        Prompts::Icon::Warning);
        return std::nullopt;
    }
    rs.edit();
    return rs;
}

QString textOf(const Recordset &rs, const QString &field)
{
    return rs.value(field).toString();
}

} // namespace korvesta
