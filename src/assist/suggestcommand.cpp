#include "suggestcommand.h"

#include "slotsuggestion.h"

#include "data/apppaths.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "editing/commandrun.h"
#include "editing/commanddocument.h"
#include "editing/consoleprompts.h"

#include <optional>

#include "cli/exitcode.h"

namespace korvesta {

namespace {

const char *const suggestUsage =
    "Использование:\n"
    "  korvesta suggest ФАЙЛ --group ГРУППА --discipline ДИСЦ [--from Д] [--to Д]\n"
    "                   [--tutor ПРЕПОДАВАТЕЛЬ] [--top N] [--set КЛЮЧ=ЗНАЧЕНИЕ ...]\n"
    "  Печатает лучшие свободные уроки для строки нагрузки группы по дисциплине, по одному\n"
    "  в строке через табуляцию: дата, урок, свободные аудитории, оценка и её причины\n"
    "  (с мягкими помехами: предел дня преподавателя, своя аудитория занята, пара\n"
    "  невозможна). --tutor выбирает строку, когда дисциплину в группе ведут несколько.\n"
    "  Период по умолчанию - две недели с сегодняшнего дня, N по умолчанию - 10.\n";

struct SuggestOptions
{
    QString path;
    SlotRequest request;
    CommandSettings::Values sets;
};

QString parseOptions(const QStringList &args, SuggestOptions &o)
{
    o.request.from = QDate::currentDate();
    bool toGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!a.startsWith(QStringLiteral("--")) && o.path.isEmpty()) {
            o.path = a;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("Не задано значение для %1").arg(a);
        const QString value = args[++i];
        if (a == u"--group") {
            o.request.group = value;
        } else if (a == u"--discipline") {
            o.request.discipline = value;
        } else if (a == u"--tutor") {
            o.request.tutor = value;
        } else if (a == u"--from" || a == u"--to") {
            const QDate date = parseMoment(value).date();
            if (!date.isValid())
                return QStringLiteral("Непонятная дата: %1").arg(value);
            (a == u"--from" ? o.request.from : o.request.to) = date;
            toGiven = toGiven || a == u"--to";
        } else if (a == u"--top") {
            bool ok = false;
            o.request.top = value.toInt(&ok);
            if (!ok || o.request.top < 1)
                return QStringLiteral("--top - число от 1: %1").arg(value);
        } else if (a == u"--set") {
            if (const QString problem = CommandSettings::addSet(value, o.sets);
                !problem.isEmpty())
                return problem;
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        }
    }
    if (!toGiven)
        o.request.to = o.request.from.addDays(13);
    if (o.path.isEmpty() || o.request.group.trimmed().isEmpty()
        || o.request.discipline.trimmed().isEmpty())
        return QStringLiteral("Укажите файл документа, группу (--group) и дисциплину "
                              "(--discipline)");
    if (o.request.from > o.request.to)
        return QStringLiteral("Начало периода позже его конца");
    if (o.request.from.daysTo(o.request.to) > 366)
        return QStringLiteral("Период длиннее года");
    return QString();
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
    for (const Slot &slot : found.best)
        out << slot.date.toString(QStringLiteral("dd.MM.yyyy")) << '\t' << slot.lesson << '\t'
            << slot.freeAuditoriums.join(QStringLiteral(", ")) << '\t' << slot.score << '\t'
            << (slot.reasons
                + (slot.problems.isEmpty()
                       ? QStringList()
                       : QStringList{QStringLiteral("помехи: ")
                                     + slot.problems.join(QStringLiteral(", "))}))
                   .join(QStringLiteral("; "))
            << '\n';
    err << QStringLiteral("Преподаватель: %1; осталось часов: %2")
               .arg(found.tutor)
               .arg(found.hoursLeft)
        << Qt::endl;
    return 0;
}

} // namespace

int runSuggestCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<SuggestOptions>(args, out, err, suggestUsage, parseOptions, suggest);
}

} // namespace korvesta
