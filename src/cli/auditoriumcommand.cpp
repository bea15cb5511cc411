#include "auditoriumcommand.h"

#include "commandline.h"
#include "trialreport.h"

#include "editing/auditoriumchange.h"
#include "editing/commandrun.h"
#include "editing/commanddocument.h"
#include "editing/consoleprompts.h"

#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/queries.h"
#include "data/trialrun.h"

#include <optional>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

struct AuditoriumOptions
{
    QString path;
    QDate date;
    int lesson = 0;
    QString group;
    QString tutor;
    QString aud;
    bool yes = false;
    bool dryRun = false;
    RecordFormat format = RecordFormat::Text;
    CommandSettings::Values sets;
};

void readOptions(CommandLine &line, AuditoriumOptions &o)
{
    o.path = line.arguments().value(0);
    o.date = line.date(QStringLiteral("date")).value_or(QDate());
    o.lesson = line.number(QStringLiteral("lesson"), 1, 99).value_or(0);
    o.group = line.value(QStringLiteral("group"));
    o.tutor = line.value(QStringLiteral("tutor"));
    o.aud = line.value(QStringLiteral("aud"));
    o.yes = line.isSet(QStringLiteral("yes"));
    o.dryRun = line.isSet(QStringLiteral("dry-run"));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    o.sets = settingValues(line);
    if (!o.date.isValid())
        line.fail(QStringLiteral("Не указана дата (--date)"));
    else if (o.lesson < 1)
        line.fail(QStringLiteral("Не указан урок (--lesson)"));
    else if (o.group.isEmpty() == o.tutor.isEmpty())
        line.fail(QStringLiteral("Укажите группу (--group) или преподавателя (--tutor)"));
    else if (o.aud.trimmed().isEmpty())
        line.fail(QStringLiteral("Не указана аудитория (--aud)"));
}

int changeAuditorium(const AuditoriumOptions &o, QTextStream &out, QTextStream &err)
{
    CommandDocument document(o.path, o.sets, CommandDocument::Use::Change, o.yes, err);
    const std::optional<Database> &db = document.db();
    if (!db)
        return ExitUnreadable;
    ConsolePrompts &prompts = document.prompts();
    AuditoriumChange change(document.session(), document.record(), prompts);
    int refusal = ExitRefused;
    const std::optional<NamedObject> aud =
        objectOfOption(*db, NamedKind::Auditorium, QStringLiteral("--aud"), o.aud, err, refusal);
    if (!aud)
        return refusal;
    std::optional<PlacementChoice> choice;
    if (o.tutor.isEmpty()) {
        const std::optional<NamedObject> g =
            objectOfOption(*db, NamedKind::Group, QStringLiteral("--group"), o.group, err, refusal);
        if (!g)
            return refusal;
        choice = change.openForGroup(o.date, o.lesson, g->group, g->course, g->faculty);
    } else {
        const std::optional<NamedObject> t =
            objectOfOption(*db, NamedKind::Tutor, QStringLiteral("--tutor"), o.tutor, err, refusal);
        if (!t)
            return refusal;
        choice = change.openForTutor(o.date, o.lesson, t->canonical);
    }
    if (!choice) {
        if (!prompts.hasSpoken())
            err << QStringLiteral("В ячейке нет занятий") << Qt::endl;
        return 1;
    }
    // Every lesson of the cell takes the auditorium.
    for (size_t slot = 1; slot < choice->picks.size(); ++slot)
        choice->typeAuditorium(int(slot), aud->canonical);
    std::optional<TrialRun> trial;
    if (o.dryRun)
        trial.emplace(*db);
    if (change.write(*choice).outcome != PlacementOutcome::Written) {
        if (prompts.refused())
            err << QStringLiteral("Ответ «Отмена»: аудитория не изменена. Чтобы ответить «OK», "
                                  "добавьте --yes")
                << Qt::endl;
        return 1;
    }
    if (trial)
        reportTrial(*trial, o.format, out, err);
    return 0;
}

} // namespace

const CommandSpec &auditoriumCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("auditorium"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            {{QStringLiteral("date")}, QStringLiteral("Д"), QStringLiteral("дата ячейки")},
            {{QStringLiteral("lesson")}, QStringLiteral("N"), QStringLiteral("урок ячейки")},
            groupOption(QStringLiteral("ячейка группы (все подгруппы)")),
            tutorOption(QStringLiteral("ячейка преподавателя (все группы лекции)")),
            audOption(QStringLiteral("новая аудитория")),
            yesOption(),
            dryRunOption(),
            formatOption(),
            setOption(),
        },
        QStringLiteral("сменить аудиторию занятий ячейки"),
        QStringLiteral("  На вопрос о занятой аудитории отвечается «Отмена», с --yes - «OK»."),
    };
    return spec;
}

int runAuditoriumCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    AuditoriumOptions o;
    return runCommand(
        auditoriumCommandSpec(), args, out, err,
        [&](CommandLine &line) { readOptions(line, o); },
        [&] { return changeAuditorium(o, out, err); });
}

} // namespace korvesta
