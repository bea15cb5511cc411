#include "copycommand.h"

#include "commandline.h"
#include "records.h"
#include "trialreport.h"

#include "editing/commandrun.h"
#include "editing/commanddocument.h"
#include "editing/consoleprompts.h"
#include "editing/progress.h"
#include "editing/timetablecopying.h"

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

struct CopyOptions
{
    QString path;
    CopyRequest request;
    bool dryRun = false;
    bool yes = false;
    RecordFormat format = RecordFormat::Text;
    CommandSettings::Values sets;
};

const QStringList &overwriteWords()
{
    static const QStringList words = {QStringLiteral("all"), QStringLiteral("same")};
    return words;
}

void readOptions(CommandLine &line, CopyOptions &o)
{
    o.path = line.arguments().value(0);
    const std::optional<QDate> day = line.date(QStringLiteral("day"));
    const std::optional<QDate> week = line.date(QStringLiteral("week"));
    const std::optional<QDate> onto = line.date(QStringLiteral("onto"));
    const std::optional<QDate> until = line.date(QStringLiteral("until"));
    if (line.choice(QStringLiteral("overwrite")).value_or(0) == 1)
        o.request.overwrite = CopyOverwrite::Over;
    o.yes = line.isSet(QStringLiteral("yes"));
    o.dryRun = line.isSet(QStringLiteral("dry-run"));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    o.sets = settingValues(line);
    if (!line.error().isEmpty())
        return;
    if (day && week)
        line.fail(QStringLiteral("Исходная дата задаётся один раз: --day или --week"));
    else if (!day && !week)
        line.fail(QStringLiteral("Не указана исходная дата (--day или --week)"));
    else if (onto && until)
        line.fail(QStringLiteral("Дата назначения задаётся один раз: --onto или --until"));
    else if (!onto && !until)
        line.fail(QStringLiteral("Не указана дата назначения (--onto или --until)"));
    else if (week && until)
        line.fail(QStringLiteral("Размножается только один день: --until задаётся с --day"));
    if (!line.error().isEmpty())
        return;
    o.request.source = day ? *day : *week;
    o.request.destination = onto ? *onto : *until;
    o.request.period = week ? CopyPeriod::Week : CopyPeriod::Day;
    o.request.replicate = until.has_value();
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
    // The dates copied once the copy is written; in a trial, what it would write.
    if (trial && report.outcome == CopyOutcome::Done) {
        reportTrial(*trial, o.format, out, err);
    } else if (o.format == RecordFormat::Text) {
        for (const QDate &date : report.copied)
            out << date.toString(QStringLiteral("dd.MM.yyyy")) << Qt::endl;
    } else {
        Records dates;
        dates.fields = {QStringLiteral("date")};
        dates.headers = {QStringLiteral("Дата")};
        for (const QDate &date : report.copied)
            dates.rows.push_back({date});
        dates.write(o.format, out);
    }
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

const CommandSpec &copyCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("copy"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            {{QStringLiteral("day")}, QStringLiteral("Д"), QStringLiteral("скопировать этот день")},
            {{QStringLiteral("week")},
             QStringLiteral("Д"),
             QStringLiteral("скопировать рабочие дни недели, в которую входит Д")},
            {{QStringLiteral("onto")},
             QStringLiteral("Д2"),
             QStringLiteral("на этот день (с --week - на неделю, в которую он входит)")},
            {{QStringLiteral("until")},
             QStringLiteral("Д2"),
             QStringLiteral("размножить день на каждый учебный день после него до Д2 "
                            "включительно (Д2 раньше - на дни перед ним)")},
            {{QStringLiteral("overwrite")},
             QStringLiteral("all|same"),
             QStringLiteral("all (по умолчанию) - расписание на дату назначения сначала "
                            "удаляется; same - копия ложится поверх, заменяя на том же уроке "
                            "только занятия той же группы в той же подгруппе или по той же "
                            "строке нагрузки"),
             false,
             Completion::Words,
             overwriteWords()},
            {{QStringLiteral("yes")},
             QString(),
             QStringLiteral("изменить и даты назначения, на которых уже есть занятия")},
            dryRunOption(),
            formatOption(),
            setOption(),
        },
        QStringLiteral("скопировать день или неделю расписания, размножить день на период"),
        QStringLiteral("  Заблокированные даты, каникулы и праздники пропускаются. Копия "
                       "пишется целиком или\n  не пишется вовсе; выводятся даты, получившие "
                       "копию. Занятия, которые не скопированы\n  (отработана нагрузка, "
                       "преподаватель отсутствует или занят, группа или аудитория\n  заняты), "
                       "перечисляются с причиной в стандартном потоке ошибок."),
    };
    return spec;
}

int runCopyCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    CopyOptions o;
    return runCommand(
        copyCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return copy(o, out, err); });
}

} // namespace korvesta
