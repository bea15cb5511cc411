#include "dropdownlists.h"

#include "data/dberror.h"
#include "data/dberrorhandler.h"
#include "data/prompts.h"
#include "data/queries.h"
#include "grid/gridmodel.h"
#include "settings/settingsrecord.h"
#include "views/lists/celltext.h"

#include <QStringList>

namespace korvesta {

namespace {

const QString kBreak = QStringLiteral("\r\n");
const QString kTitle = QStringLiteral("Добавление новой дисциплины");

QString typeAdvice()
{
    return kBreak + QStringLiteral("Пожалуйста, выберите меню 'Настройки', вкладка 'Данные'")
           + kBreak + QStringLiteral("и задайте список факультетов") + kBreak
           + QStringLiteral("или отключите функцию использования факультетов на вкладке "
                            "'Нормативы'");
}

QString specializationAdvice()
{
    return kBreak + QStringLiteral("Пожалуйста, выберите меню 'Настройки', вкладка 'Параметры'")
           + kBreak + QStringLiteral("и укажите все доступные специализации") + kBreak
           + QStringLiteral("или отключите функцию использования специализаций на вкладке "
                            "'Нормативы'");
}

// An item's text as the grid's list can carry it: a tab would pass for the end of a code, a
// line break would split the line and "|" the list, so they show as a blank and a broken bar.
QString itemText(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
        else if (c == QLatin1Char('|'))
            c = QChar(0x00A6);
    }
    return text;
}

// One list of the document: its items as "Key<tab>text" when coded, else the texts.
struct ListSpec
{
    const char *list;
    const char *field;
    bool coded;
};

// nullopt when the document could not be read (the user has been told).
// A second field is shown after the first in brackets, after `gap`: the display forms of
// groups ("П-9  (1)") and auditoriums ("101 (Главный)").
std::optional<QStringList> readItems(DocumentQueries &queries, const ListSpec &spec,
                                     const char *secondField = nullptr,
                                     const QString &gap = QString())
{
    std::optional<Recordset> rs = queries.OpenList(QString::fromLatin1(spec.list));
    if (!rs)
        return std::nullopt;
    const int key = spec.coded ? requiredField(*rs, QStringLiteral("Key")) : -1;
    const int field = requiredField(*rs, QString::fromLatin1(spec.field));
    const int second = secondField ? requiredField(*rs, QString::fromLatin1(secondField)) : -1;
    QStringList items;
    for (; !rs->isEof(); rs->moveNext()) {
        QString text = rs->value(field).toString();
        if (second >= 0)
            text += gap + QLatin1Char('(') + rs->value(second).toString() + QLatin1Char(')');
        text = itemText(text);
        items << (spec.coded ? rs->value(key).toString() + QLatin1Char('\t') + text : text);
    }
    return items;
}

// A type list; an empty one is told with its message and cancels the edit.
bool setTypeList(GridModel &grid, DocumentQueries &queries, Prompts &prompts, const ListSpec &spec,
                 const QString &emptyMessage)
{
    const std::optional<QStringList> items = readItems(queries, spec);
    if (!items)
        return false;
    if (items->isEmpty()) {
        prompts.message(emptyMessage, Prompts::Icon::Warning, kTitle);
        return false;
    }
    grid.setComboList(items->join(QLatin1Char('|')));
    return true;
}

bool setNameList(GridModel &grid, DocumentQueries &queries, const ListSpec &spec,
                 const char *secondField = nullptr, const QString &gap = QString())
{
    const std::optional<QStringList> items = readItems(queries, spec, secondField, gap);
    if (items)
        grid.setComboList(items->join(QLatin1Char('|')));
    return true;
}

bool groupEntryList(GridModel &grid, int col, DocumentQueries &queries,
                    const SettingsRecord &settings, Prompts &prompts)
{
    switch (col) {
    case 4:
        if (!settings.UseTypeFaculty)
            return true;
        return setTypeList(grid, queries, prompts, {"TypeFaculty", "TypeFaculty", true},
                           QStringLiteral("Отсутствует перечень факультетов") + typeAdvice());
    case 5:
        if (!settings.UseTypeTuition)
            return true;
        return setTypeList(grid, queries, prompts, {"TypeTuition", "TypeTuition", true},
                           QStringLiteral("Отсутствует перечень форм обучения") + typeAdvice());
    case 6:
        if (!settings.UseTypeFinance)
            return true;
        return setTypeList(grid, queries, prompts, {"TypeFinance", "TypeFinance", true},
                           QStringLiteral("Отсутствует перечень форм финансирования обучения")
                               + typeAdvice());
    default:
        return true;
    }
}

bool disciplineEntryList(GridModel &grid, int col, DocumentQueries &queries,
                         const SettingsRecord &settings, Prompts &prompts)
{
    if (col == 1 && settings.UseTypeDiscipline) {
        return setTypeList(grid, queries, prompts, {"DisciplineType", "Type", true},
                           QStringLiteral("Отсутствует перечень специализаций")
                               + specializationAdvice());
    }
    if (col == 5)
        grid.setComboList(QStringLiteral("Лёгкий|Средний|Трудный"));
    return true;
}

bool loadList(GridModel &grid, int col, DocumentQueries &queries)
{
    switch (col) {
    case 2:
        return setNameList(grid, queries, {"Auditories", "Auditoria", false}, "Corpus",
                           QStringLiteral(" "));
    case 3:
        return setNameList(grid, queries, {"Disciplines", "Discipline", false});
    case 4:
        return setNameList(grid, queries, {"Groups", "Group", false}, "Course",
                           QStringLiteral("  "));
    default:
        return true;
    }
}

} // namespace

bool prepareDropDown(GridModel &grid, int viewCode, int col, DocumentQueries &queries,
                     const SettingsRecord &settings, Prompts &prompts)
{
    grid.setComboList(QString());
    try {
        switch (viewCode) {
        case 1:
            return groupEntryList(grid, col, queries, settings, prompts);
        case 11:
            return disciplineEntryList(grid, col, queries, settings, prompts);
        case 30:
        case 31:
            return loadList(grid, col, queries);
        default:
            return true;
        }
    } catch (const DbError &error) {
        // A list whose query lacks a field read here: a document of another layout.
        grid.setComboList(QString());
        handleDatabaseError(error.code() == dberr::ItemNotFound
                                ? DbError(dberr::ForeignFormat, error.message())
                                : error,
                            prompts, {});
        return false;
    }
}

} // namespace korvesta
