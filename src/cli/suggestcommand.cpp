#include "suggestcommand.h"

#include "commandline.h"
#include "editing/exitcode.h"
#include "records.h"

#include "assist/slotsuggestion.h"

#include "data/apppaths.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "editing/commandrun.h"
#include "editing/commanddocument.h"
#include "editing/consoleprompts.h"

#include <optional>


namespace korvesta {

namespace {

const CommandSpec &suggestSpec()
{
    static const CommandSpec spec{
        QStringLiteral("suggest"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            groupOption(QStringLiteral("группа строки нагрузки")),
            disciplineOption(QStringLiteral("дисциплина строки нагрузки")),
            tutorOption(QStringLiteral("когда дисциплину в группе ведут несколько")),
            {{QStringLiteral("from")},
             QStringLiteral("Д"),
             QStringLiteral("начало периода (по умолчанию - сегодня)")},
            {{QStringLiteral("to")},
             QStringLiteral("Д"),
             QStringLiteral("конец периода (по умолчанию - две недели)")},
            {{QStringLiteral("top")},
             QStringLiteral("N"),
             QStringLiteral("сколько уроков показать (по умолчанию 10)")},
            formatOption(),
            isoDatesOption(),
            setOption(),
        },
        QStringLiteral("лучшие свободные уроки для строки нагрузки группы по дисциплине"),
        QStringLiteral("  По строке на урок: дата, урок, свободные аудитории, оценка и её "
                       "причины, мягкие\n  помехи (предел дня преподавателя, своя аудитория "
                       "занята, пара невозможна)."),
    };
    return spec;
}

struct SuggestOptions
{
    QString path;
    SlotRequest request;
    RecordFormat format = RecordFormat::Text;
    bool isoDates = false;
    CommandSettings::Values sets;
};

void readOptions(CommandLine &line, SuggestOptions &o)
{
    o.path = line.arguments().value(0);
    o.request.group = line.value(QStringLiteral("group"));
    o.request.discipline = line.value(QStringLiteral("discipline"));
    o.request.tutor = line.value(QStringLiteral("tutor"));
    o.request.from = line.date(QStringLiteral("from")).value_or(QDate::currentDate());
    o.request.to = line.date(QStringLiteral("to")).value_or(o.request.from.addDays(13));
    o.request.top = line.number(QStringLiteral("top"), 1, 1000).value_or(10);
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    o.isoDates = line.isSet(QStringLiteral("iso-dates"));
    o.sets = settingValues(line);
    if (o.request.group.trimmed().isEmpty())
        line.fail(QStringLiteral("Не указана группа (--group)"));
    else if (o.request.discipline.trimmed().isEmpty())
        line.fail(QStringLiteral("Не указана дисциплина (--discipline)"));
    else if (o.request.from > o.request.to)
        line.fail(QStringLiteral("Начало периода позже его конца"));
    else if (o.request.from.daysTo(o.request.to) > 366)
        line.fail(QStringLiteral("Период длиннее года"));
}

int suggest(const SuggestOptions &o, QTextStream &out, QTextStream &err)
{
    CommandDocument document(o.path, o.sets, CommandDocument::Use::Read, false, err);
    const std::optional<Database> &db = document.db();
    if (!db)
        return ExitUnreadable;
    SlotSuggestions found;
    try {
        // The names as every command takes them; the line is then found by their one form.
        SlotRequest request = o.request;
        int refusal = ExitRefused;
        const std::optional<NamedObject> group = objectOfOption(
            *db, NamedKind::Group, QStringLiteral("--group"), request.group, err, refusal);
        if (!group)
            return refusal;
        request.group = group->canonical;
        if (!request.tutor.trimmed().isEmpty()) {
            const std::optional<NamedObject> tutor = objectOfOption(
                *db, NamedKind::Tutor, QStringLiteral("--tutor"), request.tutor, err, refusal);
            if (!tutor)
                return refusal;
            request.tutor = tutor->canonical;
        }
        found = suggestSlots(*db, document.record(), request);
    } catch (const DbError &error) {
        err << error.message() << Qt::endl;
        return ExitUnreadable;
    }
    if (!found.refusal.isEmpty()) {
        err << found.refusal << Qt::endl;
        return 1;
    }
    Records records;
    records.fields = {QStringLiteral("date"), QStringLiteral("lesson"),
                      QStringLiteral("auditoriums"), QStringLiteral("score"),
                      QStringLiteral("reasons"), QStringLiteral("problems")};
    records.headers = {QStringLiteral("Дата"), QStringLiteral("Урок"),
                       QStringLiteral("Свободные аудитории"), QStringLiteral("Оценка"),
                       QStringLiteral("Причины"), QStringLiteral("Помехи")};
    for (const Slot &slot : found.best)
        records.rows.push_back({slot.date, slot.lesson,
                                slot.freeAuditoriums.join(QStringLiteral(", ")), slot.score,
                                slot.reasons.join(QStringLiteral("; ")),
                                slot.problems.join(QStringLiteral(", "))});
    records.write(o.format, out, o.isoDates);
    err << QStringLiteral("Преподаватель: %1; осталось часов: %2")
               .arg(found.tutor)
               .arg(found.hoursLeft)
        << Qt::endl;
    return 0;
}

} // namespace

const CommandSpec &suggestCommandSpec()
{
    return suggestSpec();
}

int runSuggestCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    SuggestOptions options;
    return runCommand(
        suggestSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, options); },
        [&] { return suggest(options, out, err); });
}

} // namespace korvesta
