#include "reportmaker.h"

#include "data/documentsession.h"
#include "data/prompts.h"
#include "data/queries.h"
#include "reportbinding.h"
#include "subgroupnumbers.h"

namespace korvesta {

namespace {

const ReportKind kKinds[] = {
    {"РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ", 50, true, true},
    {"РАСПИСАНИЕ ГРУППЫ", 51, true, true},
    {"РАСПИСАНИЕ АУДИТОРИИ", 52, true, true},
    {"ЗАНЯТОСТЬ ПРЕПОДАВАТЕЛЯ", 53, true, false},
    {"СПИСОК ГРУПП", 0, false, false},
    {"ПАСПОРТ ГРУППЫ", 2, true, false},
    {"СПИСОК ДИСЦИПЛИН", 10, false, false},
    {"НАГРУЗКА", 30, false, false},
};

// A group by its display form "П-9  (1)" or by its name alone (the first of that name).
int groupKey(DocumentQueries &queries, const QString &text)
{
    std::optional<Recordset> rs = queries.OpenList(QStringLiteral("Groups"));
    for (; rs && !rs->isEof(); rs->moveNext()) {
        for (const char *field : {"GroupCourse", "Group"})
            if (rs->value(QString::fromLatin1(field)).toString().compare(text.trimmed(),
                                                                        Qt::CaseInsensitive) == 0)
                return rs->value(QStringLiteral("Key")).toInt();
    }
    return 0;
}

} // namespace

const ReportKind *findReportKind(const QString &name)
{
    const QString wanted = name.trimmed();
    for (const ReportKind &kind : kKinds)
        if (wanted.compare(QString::fromUtf8(kind.name), Qt::CaseInsensitive) == 0)
            return &kind;
    return nullptr;
}

const ReportKind *reportOfView(int code)
{
    for (const ReportKind &kind : kKinds)
        if (kind.viewCode == code)
            return &kind;
    return nullptr;
}

ReportMaker::ReportMaker(DocumentSession &session, SettingsStore &settings,
                         const SettingsRecord &record, Prompts &prompts,
                         QString applicationFolder)
    : m_session(session)
    , m_settings(settings)
    , m_record(record)
    , m_prompts(prompts)
    , m_applicationFolder(std::move(applicationFolder))
{}

std::optional<ReportContent> ReportMaker::make(const ReportRequest &request)
{
    const ReportLayoutSources sources =
        m_sources.value_or(ReportLayoutSources::standard(m_session.currentPath(),
                                                         m_applicationFolder));
    const LoadedLayouts loaded = loadReportLayouts(sources);
    for (const QString &problem : loaded.problems) {
        if (m_told && m_told->contains(problem))
            continue;
        m_prompts.message(problem, Prompts::Icon::Warning);
        if (m_told)
            m_told->insert(problem);
    }

    const ReportKind *kind = findReportKind(request.name);
    const QString name = kind ? QString::fromUtf8(kind->name) : request.name.trimmed();
    const ReportLayout *layout = loaded.layouts.find(name);
    if (!layout || !kind) {
        const QString file = loaded.overrideFile.isEmpty() ? loaded.builtInFile
                                                           : loaded.overrideFile;
        m_prompts.message(QStringLiteral("Отчёт «%1» не найден в файле «%2»").arg(name, file),
                          Prompts::Icon::Warning);
        return std::nullopt;
    }

    ReportValues values;
    values.object = request.object;
    if (kind->usesPeriod) {
        values.from = request.from;
        values.to = request.to;
    }

    DocumentQueries queries(m_session, m_settings, m_prompts);
    std::optional<Recordset> rs;
    switch (kind->viewCode) {
    case 50:
    case 51:
    case 52:
        rs = queries.OpenScheduleReport(kind->viewCode - 50, request.object, request.from,
                                        request.to);
        break;
    case 53:
        rs = queries.OpenTutorBusyTotals(request.object);
        break;
    case 0:
        rs = queries.OpenList(QStringLiteral("Groups"));
        break;
    case 2:
        rs = queries.OpenGroupPassport(request.objectKey > 0 ? request.objectKey
                                                             : groupKey(queries, request.object));
        break;
    case 10:
        rs = queries.OpenList(QStringLiteral("Disciplines"));
        break;
    case 30:
        rs = queries.OpenList(QStringLiteral("Korvesta"));
        break;
    default:
        break;
    }

    // A document that could not be read has been told of.
    if (!rs)
        return std::nullopt;
    QStringList problems;
    // A timetable's lessons show the subgroup the one rule of subgroups gives, not the
    // number stored.
    ReportRowAdjust adjust;
    std::optional<SubgroupNumbers> subgroups;
    if (kind->viewCode >= 50 && kind->viewCode <= 52) {
        const QStringList fields = rs->fieldNames();
        const auto at = [&fields](const char *field) {
            for (qsizetype i = 0; i < fields.size(); ++i)
                if (fields[i].compare(QLatin1String(field), Qt::CaseInsensitive) == 0)
                    return int(i);
            return -1;
        };
        const int date = at("Date"), lesson = at("Lesson"), group = at("GroupCourse"),
                  subgroup = at("SubGroup");
        if (const std::optional<Database> db = m_session.access();
            db && date >= 0 && lesson >= 0 && group >= 0 && subgroup >= 0) {
            subgroups.emplace(*db, request.from, request.to);
            adjust = [&subgroups, date, lesson, group, subgroup](std::vector<QVariant> &row) {
                row[size_t(subgroup)] = subgroups->shown(
                    row[size_t(date)].toDate(), row[size_t(lesson)].toInt(),
                    row[size_t(group)].toString(), row[size_t(subgroup)].toInt());
            };
        }
    }
    ReportContent content = bindReport(*layout, *rs, values, &problems, adjust);
    for (const QString &problem : problems)
        m_prompts.message(problem, Prompts::Icon::Warning);
    decorateReport(content, m_record,
                   m_moment.isValid() ? m_moment : QDateTime::currentDateTime());
    return content;
}

} // namespace korvesta
