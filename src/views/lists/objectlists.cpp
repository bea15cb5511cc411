#include "listfills.h"

#include "celltext.h"
#include "data/queries.h"
#include "views/viewcontext.h"

#include <initializer_list>

namespace korvesta {

namespace {

// Replaces the object list by the records of a document list: key `kind` + Key, the texts
// of `fields`, one icon for all.
void fillObjects(ViewContext &ctx, const QString &list, const QString &kind,
                 const QStringList &headers, std::initializer_list<const char *> fields,
                 const QString &icon)
{
    ctx.objects.clear();
    ctx.objects.headers = headers;
    DocumentQueries queries(ctx.session, ctx.settings, ctx.prompts);
    std::optional<Recordset> rs = queries.OpenList(list);
    if (!rs)
        return;
    const int key = requiredField(*rs, QStringLiteral("Key"));
    std::vector<int> columns;
    for (const char *field : fields)
        columns.push_back(requiredField(*rs, QString::fromLatin1(field)));
    ctx.objects.entries.reserve(static_cast<size_t>(rs->recordCount()));
    for (; !rs->isEof(); rs->moveNext()) {
        ObjectListEntry entry;
        entry.key = kind + rs->value(key).toString();
        for (const int column : columns)
            entry.texts << cellText(rs->value(column));
        entry.icon = icon;
        ctx.objects.entries.push_back(std::move(entry));
    }
}

} // namespace

void fillGroupObjects(ViewContext &ctx)
{
    fillObjects(ctx, QStringLiteral("Groups"), QStringLiteral("gr"),
                {QStringLiteral("Группы"), QStringLiteral("Курс")}, {"Group", "Course"},
                QStringLiteral("GROUP"));
}

void fillTutorObjects(ViewContext &ctx)
{
    fillObjects(ctx, QStringLiteral("Tutors"), QStringLiteral("tu"),
                {QStringLiteral("Преподаватель")}, {"Tutor"}, QStringLiteral("TUTOR"));
}

void fillAuditoriumObjects(ViewContext &ctx)
{
    fillObjects(ctx, QStringLiteral("Auditories"), QStringLiteral("au"),
                {QStringLiteral("Аудитория")}, {"Auditoria"}, QStringLiteral("AUDITORIA"));
}

} // namespace korvesta
