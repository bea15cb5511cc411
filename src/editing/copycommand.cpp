#include "copycommand.h"

#include "commandrun.h"
#include "commanddocument.h"
#include "consoleprompts.h"
#include "progress.h"
#include "timetablecopying.h"

#include "data/apppaths.h"
#include "data/database.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/trialrun.h"
#include "data/prompts.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"


#include <optional>
#include <vector>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

const char *const copyUsage =
    "Использование:\n"
    "  korvesta copy ФАЙЛ --day Д --to Д2 [--overwrite all|same] [--yes] [--dry-run]\n"
    "                [--set КЛЮЧ=ЗНАЧЕНИЕ ...]\n"
    "      скопировать расписание дня Д на день Д2\n"
    "  korvesta copy ФАЙЛ --week Д --to Д2 [--overwrite all|same] [--set ...]\n"
    "      скопировать рабочие дни недели, в которую входит Д, на неделю, в которую входит Д2\n"
    "  korvesta copy ФАЙЛ --day Д --until Д2 [--overwrite all|same] [--set ...]\n"
    "      размножить день Д на каждый учебный день после него до Д2 включительно\n"
    "      (Д2 раньше Д - на дни перед ним)\n"
    "  --overwrite all (по умолчанию) - расписание на дату назначения сначала удаляется;\n"
    "  same - копия ложится поверх, заменяя на том же уроке только занятия той же группы\n"
    "  в той же подгруппе или по той же строке нагрузки. Заблокированные даты, каникулы\n"
    "  и праздники недели и периода пропускаются. Дата: дд.мм.гггг или гггг-мм-дд.\n"
    "  Даты назначения, на которых уже есть занятия, изменяются только с --yes.\n"
    "  Копия пишется целиком или не пишется вовсе. Занятия, которые не скопированы\n"
    "  (отработана нагрузка, преподаватель отсутствует или занят, группа или аудитория\n"
    "  заняты), перечисляются с причиной в стандартном потоке ошибок.\n"
    "  --set меняет настройку раздела Settings (WorkDays, JobOverFlow, SaveCurrTable...)\n"
    "  только на этот запуск. --dry-run - всё проверить и сказать, сколько строк\n"
    "  добавилось бы, изменилось и удалилось бы, ничего не записывая.\n";

struct CopyOptions
{
    QString path;
    CopyRequest request;
    bool dayGiven = false, weekGiven = false, toGiven = false, untilGiven = false;
    bool dryRun = false;
    bool yes = false;
    std::vector<std::pair<QString, QString>> sets;
};

// An empty text when the options are usable, else what is wrong with them.
QString parseOptions(const QStringList &args, CopyOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--dry-run" || a == u"--yes") {
            (a == u"--yes" ? o.yes : o.dryRun) = true;
            continue;
        }
        if (!a.startsWith(QLatin1String("--"))) {
            if (!o.path.isEmpty())
                return QStringLiteral("Лишний аргумент: %1").arg(a);
            o.path = a;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("Не указано значение для %1").arg(a);
        const QString value = args[++i];
        if (a == u"--day" || a == u"--week" || a == u"--to" || a == u"--until") {
            const QDate date = parseMoment(value).date();
            if (!date.isValid())
                return QStringLiteral("Неверная дата: %1").arg(value);
            if (a == u"--day" || a == u"--week") {
                if (o.dayGiven || o.weekGiven)
                    return QStringLiteral("Исходная дата задаётся один раз: --day или --week");
                (a == u"--day" ? o.dayGiven : o.weekGiven) = true;
                o.request.source = date;
            } else {
                if (o.toGiven || o.untilGiven)
                    return QStringLiteral("Дата назначения задаётся один раз: --to или --until");
                (a == u"--to" ? o.toGiven : o.untilGiven) = true;
                o.request.destination = date;
            }
        } else if (a == u"--overwrite") {
            if (value == u"all")
                o.request.overwrite = CopyOverwrite::ClearFirst;
            else if (value == u"same")
                o.request.overwrite = CopyOverwrite::Over;
            else
                return QStringLiteral("--overwrite принимает all или same: %1").arg(value);
        } else if (a == u"--set") {
            if (const QString problem = CommandSettings::addSet(value, o.sets);
                !problem.isEmpty())
                return problem;
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        }
    }
    if (o.path.isEmpty())
        return QStringLiteral("Не указан файл документа");
    if (!o.dayGiven && !o.weekGiven)
        return QStringLiteral("Не указана исходная дата (--day или --week)");
    if (!o.toGiven && !o.untilGiven)
        return QStringLiteral("Не указана дата назначения (--to или --until)");
    if (o.weekGiven && o.untilGiven)
        return QStringLiteral("Размножается только один день: --until задаётся с --day");
    o.request.period = o.weekGiven ? CopyPeriod::Week : CopyPeriod::Day;
    o.request.replicate = o.untilGiven;
    return QString();
}

int copy(const CopyOptions &o, QTextStream &out, QTextStream &err)
{
    // The user's settings, changed by --set for this run only.
    CommandDocument document(o.path, o.sets, CommandDocument::Use::Change, o.yes, err);
    const std::optional<Database> &db = document.db();
    if (!db)
        return ExitUnreadable;
    PrintedProgress progress(document.prompts());
    // A trial runs the copy inside a transaction of its own that is never committed: the
    // copy's own transaction then commits nothing.
    std::optional<TrialRun> trial;
    if (o.dryRun)
        trial.emplace(*db);
    TimetableCopying copying(document.session(), document.record(), document.store(),
                             document.prompts(), progress);
    const CopyReport report = copying.run(o.request);
    if (trial && report.outcome == CopyOutcome::Done)
        trial->report(out, err);
    // Printed once the copy is written (or, in a trial, would be).
    for (const QDate &date : report.copied)
        out << date.toString(QStringLiteral("dd.MM.yyyy")) << Qt::endl;
    if (!report.skipped.empty()) {
        err << QStringLiteral("Не скопированы занятия: %1").arg(report.skipped.size()) << '\n'
            << skippedLessonHeadings().join(QLatin1Char('\t')) << '\n';
        for (const SkippedLesson &l : report.skipped)
            err << skippedLessonCells(l).join(QLatin1Char('\t')) << '\n';
        err.flush();
    }
    if (report.outcome == CopyOutcome::Done && !report.copied.empty())
        return 0;
    if (report.outcome == CopyOutcome::Done)
        err << QStringLiteral("Ни одна дата не скопирована: расписание не изменено") << Qt::endl;
    else if (document.prompts().refused())
        err << QStringLiteral("Ответ «нет»: расписание не изменено. Чтобы заменить занятия на "
                              "датах назначения, добавьте --yes")
            << Qt::endl;
    return 1;
}

} // namespace

int runCopyCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<CopyOptions>(args, out, err, copyUsage, parseOptions, copy);
}

} // namespace korvesta
