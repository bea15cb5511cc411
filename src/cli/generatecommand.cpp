#include "generatecommand.h"

#include "commandline.h"
#include "records.h"
#include "trialreport.h"

#include "compile/compiler.h"
#include "compile/softweights.h"
#include "data/dberror.h"
#include "data/trialrun.h"
#include "editing/commanddocument.h"
#include "editing/commandrun.h"
#include "editing/exitcode.h"

#include <optional>

namespace korvesta {

namespace {

struct GenerateOptions
{
    QString path;
    QDate from, to;
    QStringList groups;
    bool replace = false;
    bool yes = false;
    unsigned seed = 1;
    double timeLimit = 10;
    bool dryRun = false;
    RecordFormat format = RecordFormat::Text;
    CommandSettings::Values sets;
};

void readOptions(CommandLine &line, GenerateOptions &o)
{
    o.path = line.arguments().value(0);
    o.from = line.date(QStringLiteral("from")).value_or(QDate());
    o.to = line.date(QStringLiteral("to")).value_or(QDate());
    o.groups = line.values(QStringLiteral("group"));
    o.replace = line.isSet(QStringLiteral("replace"));
    o.yes = line.isSet(QStringLiteral("yes"));
    o.seed = unsigned(line.number(QStringLiteral("seed"), 0, 1000000000).value_or(1));
    o.timeLimit = line.number(QStringLiteral("time-limit"), 1, 3600).value_or(10);
    o.dryRun = line.isSet(QStringLiteral("dry-run"));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    o.sets = settingValues(line);
    if (!line.error().isEmpty())
        return;
    if (!o.from.isValid() || !o.to.isValid())
        line.fail(QStringLiteral("Период задаётся двумя датами: --from и --to"));
    else if (o.from > o.to)
        line.fail(QStringLiteral("Начало периода позже его конца"));
}

void writeLines(const CompileResult &result, RecordFormat format, QTextStream &out)
{
    Records records;
    records.fields = {QStringLiteral("group"), QStringLiteral("discipline"),
                      QStringLiteral("tutor"), QStringLiteral("target"),
                      QStringLiteral("placed"), QStringLiteral("reason")};
    records.headers = {QStringLiteral("Группа"), QStringLiteral("Дисциплина"),
                       QStringLiteral("Преподаватель"), QStringLiteral("Нужно"),
                       QStringLiteral("Поставлено"), QStringLiteral("Почему не все")};
    for (const CompiledLine &l : result.lines)
        records.rows.push_back({l.group, l.discipline, l.tutor, l.target, l.placed,
                                l.reason.isEmpty() ? QVariant() : QVariant(l.reason)});
    records.write(format, out);
}

int generate(const GenerateOptions &o, QTextStream &out, QTextStream &err)
{
    CommandDocument document(o.path, o.sets, CommandDocument::Use::Change, false, err);
    const std::optional<Database> &db = document.db();
    if (!db)
        return ExitUnreadable;
    CompileRequest request;
    request.from = o.from;
    request.to = o.to;
    request.seed = o.seed;
    request.timeLimitSeconds = o.timeLimit;
    request.replace = o.replace;
    request.weights = readSoftWeights(document.store());
    int refusal = ExitRefused;
    for (const QString &name : o.groups) {
        const std::optional<NamedObject> group =
            objectOfOption(*db, NamedKind::Group, QStringLiteral("--group"), name, err, refusal);
        if (!group)
            return refusal;
        request.groups.push_back(group->key);
    }
    // Taking away lessons already in the timetable is asked first, as the window asks.
    if (const int earlier = o.replace ? compiledLessonCount(*db, request) : 0;
        earlier > 0 && !o.yes && !o.dryRun) {
        err << QStringLiteral("В периоде %1 занятий, составленных программой ранее: они будут "
                              "составлены заново. Подтвердите это ключом --yes")
                   .arg(earlier)
            << Qt::endl;
        return ExitRefused;
    }
    std::optional<TrialRun> trial;
    if (o.dryRun)
        trial.emplace(*db);
    const CompileResult result = compileTimetable(*db, document.record(), request);
    if (!result.refusal.isEmpty() && result.lines.empty()) {
        err << result.refusal << Qt::endl;
        return ExitRefused;
    }
    writeLines(result, o.format, out);
    out.flush();
    if (result.replaced > 0)
        err << QStringLiteral("Убрано составленных ранее занятий: %1").arg(result.replaced)
            << Qt::endl;
    err << QStringLiteral("Поставлено занятий: %1 из %2; окон у групп: %3, у преподавателей: %4; "
                          "в своей аудитории: %5 (%6%)")
               .arg(result.placed)
               .arg(result.target)
               .arg(result.groupGaps)
               .arg(result.tutorGaps)
               .arg(result.usualAuditorium)
               .arg(result.placed > 0 ? 100 * result.usualAuditorium / result.placed : 0)
        << Qt::endl;
    for (const QString &note : result.notes)
        err << note << Qt::endl;
    if (!result.refusal.isEmpty()) {
        err << result.refusal << Qt::endl;
        for (const QString &problem : result.checkErrors)
            err << problem << Qt::endl;
        return ExitRefused;
    }
    if (trial && result.written)
        reportTrial(*trial, RecordFormat::Text, err, err);
    return result.placed == result.target ? ExitDone : ExitRefused;
}

} // namespace

const CommandSpec &generateCommandSpec()
{
    static const CommandSpec spec = [] {
        CommandSpec s{
            QStringLiteral("generate"),
            {QStringLiteral("ФАЙЛ")},
            1,
            {
                {{QStringLiteral("from")}, QStringLiteral("Д"), QStringLiteral("начало периода")},
                {{QStringLiteral("to")}, QStringLiteral("Д"), QStringLiteral("конец периода")},
                groupOption(QStringLiteral("только эти группы (по умолчанию - все)")),
                {{QStringLiteral("replace")},
                 QString(),
                 QStringLiteral("составить заново и занятия, поставленные программой ранее "
                                "(не перенесённые с тех пор вручную)")},
                yesOption(),
                {{QStringLiteral("seed")},
                 QStringLiteral("N"),
                 QStringLiteral("начало случайной последовательности поиска (по умолчанию 1)")},
                {{QStringLiteral("time-limit")},
                 QStringLiteral("С"),
                 QStringLiteral("сколько секунд искать лучшее (по умолчанию 10)")},
                dryRunOption(),
                formatOption(),
                setOption(),
            },
            QStringLiteral("составить расписание периода автоматически"),
            QStringLiteral(
                "  Ставит занятия строк нагрузки, у которых остались часы, вокруг уже "
                "поставленных: каждой\n  строке - её долю (оставшиеся часы поровну на "
                "оставшиеся учебные дни), со всеми\n  проверками постановки занятия; без окон у "
                "групп, где это возможно. По строке на\n  строку нагрузки: нужно, поставлено и "
                "почему не все. Всё записывается одним шагом\n  и только если проверка "
                "расписания не находит новых ошибок. Веса целей - раздел Generate\n  настроек "
                "(--set Generate/GroupGap=300 и т. п.). Код выхода 0 - каждая\n  строка получила "
                "свою долю, 1 - не все (поставленное записано)."),
        };
        for (OptionSpec &o : s.options) {
            if (o.names.constFirst() == u"group")
                o.repeatable = true;
        }
        return s;
    }();
    return spec;
}

int runGenerateCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    GenerateOptions o;
    return runCommand(
        generateCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return generate(o, out, err); });
}

} // namespace korvesta
