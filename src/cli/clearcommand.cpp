#include "clearcommand.h"

#include "commandline.h"
#include "trialreport.h"

#include "editing/commandrun.h"
#include "editing/commanddocument.h"
#include "editing/consoleprompts.h"
#include "editing/progress.h"
#include "editing/timetableclearing.h"

#include "data/apppaths.h"
#include "data/database.h"
#include "data/documentsession.h"
#include "data/queries.h"
#include "data/trialrun.h"
#include "data/prompts.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"


#include <optional>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

struct ClearOptions
{
    QString path;
    QDate from, to, date;
    bool all = false;
    int lesson = 0;
    QString group;
    QString tutor;
    bool yes = false;
    bool dryRun = false;
    RecordFormat format = RecordFormat::Text;
    CommandSettings::Values sets;
};

void readOptions(CommandLine &line, ClearOptions &o)
{
    o.path = line.arguments().value(0);
    o.from = line.date(QStringLiteral("from")).value_or(QDate());
    o.to = line.date(QStringLiteral("to")).value_or(QDate());
    o.date = line.date(QStringLiteral("date")).value_or(QDate());
    o.all = line.isSet(QStringLiteral("all"));
    o.lesson = line.number(QStringLiteral("lesson"), 1, 99).value_or(0);
    o.group = line.value(QStringLiteral("group"));
    o.tutor = line.value(QStringLiteral("tutor"));
    o.yes = line.isSet(QStringLiteral("yes"));
    o.dryRun = line.isSet(QStringLiteral("dry-run"));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    o.sets = settingValues(line);
    if (!line.error().isEmpty())
        return;
    const bool range = line.isSet(QStringLiteral("from")) || line.isSet(QStringLiteral("to"));
    const bool cell = o.date.isValid();
    if (int(range) + int(o.all) + int(cell) != 1)
        line.fail(QStringLiteral("Укажите одно из: --from и --to, --all или --date"));
    else if (range && !(o.from.isValid() && o.to.isValid()))
        line.fail(QStringLiteral("Период задаётся двумя датами: --from и --to"));
    else if (cell && o.lesson == 0)
        line.fail(QStringLiteral("Не указан урок (--lesson)"));
    else if (cell && o.group.isEmpty() == o.tutor.isEmpty())
        line.fail(QStringLiteral("Укажите группу (--group) или преподавателя (--tutor)"));
    else if (!cell && (o.lesson > 0 || !o.group.isEmpty() || !o.tutor.isEmpty()))
        line.fail(QStringLiteral("Урок, группа и преподаватель задаются только с --date"));
}

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

int clear(const ClearOptions &o, QTextStream &out, QTextStream &err)
{
    // The user's settings are read, and what --set changes stays with this run.
    CommandDocument document(o.path, o.sets, CommandDocument::Use::Change, o.yes, err);
    const std::optional<Database> &db = document.db();
    if (!db)
        return ExitUnreadable;
    DocumentSession &session = document.session();
    const SettingsRecord &settings = document.record();
    ConsolePrompts &prompts = document.prompts();
    if (db->isReadOnly()) {
        err << QStringLiteral("Документ «%1» открыт только для чтения: изменения в нём "
                              "невозможны")
                   .arg(o.path)
            << Qt::endl;
        return 1;
    }
    if (o.date.isValid() && o.date.dayOfWeek() > settings.WorkDays) {
        err << QStringLiteral("Выбран выходной день") << Qt::endl;
        return 1;
    }

    std::optional<TrialRun> trial;
    if (o.dryRun)
        trial.emplace(*db);
    TimetableClearing clearing(session, settings, prompts);
    PrintedProgress progress(prompts);
    bool done = false;
    if (o.date.isValid()) {
        std::optional<ClearingOutcome> outcome;
        int refusal = ExitRefused;
        if (!o.tutor.isEmpty()) {
            const std::optional<NamedObject> t = objectOfOption(
                *db, NamedKind::Tutor, QStringLiteral("--tutor"), o.tutor, err, refusal);
            if (!t)
                return refusal;
            outcome = clearing.clearTutorCell(o.date, o.lesson, t->canonical);
        } else {
            const std::optional<NamedObject> g = objectOfOption(
                *db, NamedKind::Group, QStringLiteral("--group"), o.group, err, refusal);
            if (!g)
                return refusal;
            outcome = clearing.clearGroupCell(o.date, o.lesson, g->group, g->course, g->faculty);
        }
        done = outcome == ClearingOutcome::Done;
        if (outcome == ClearingOutcome::Empty)
            err << QStringLiteral("В ячейке нет занятий: ничего не удалено") << Qt::endl;
        if (done && !o.dryRun)
            out << QStringLiteral("Запись удалена: урок %1, %2").arg(o.lesson).arg(dateText(o.date))
                << Qt::endl;
    } else {
        // Deleting many dates is a bulk deletion: never without the planner's word.
        if (!o.yes && !o.dryRun) {
            err << QStringLiteral("Удаление расписания %1 удаляет занятия многих дат: "
                                  "расписание не изменено. Чтобы удалить, добавьте --yes "
                                  "(--dry-run покажет, что изменится)")
                       .arg(o.all ? QStringLiteral("на всех датах")
                                  : QStringLiteral("с %1 по %2")
                                        .arg(dateText(std::min(o.from, o.to)),
                                             dateText(std::max(o.from, o.to))))
                << Qt::endl;
            return 1;
        }
        const TimetableDeletion d =
            o.all ? clearing.deleteAll(progress) : clearing.deleteRange(o.from, o.to, progress);
        done = d.outcome == ClearingOutcome::Done && d.deleted > 0;
        if (d.outcome == ClearingOutcome::Done && d.deleted == 0)
            err << (d.protectedDates > 0
                        ? QStringLiteral("Все даты периода заблокированы: расписание не изменено")
                        : QStringLiteral("Нет расписания на эти даты: ничего не удалено"))
                << Qt::endl;
        if (!o.dryRun && done) {
            out << QStringLiteral("Удалено дат: %1").arg(d.deleted) << Qt::endl;
            if (d.protectedDates > 0)
                out << QStringLiteral("Заблокированных дат пропущено: %1").arg(d.protectedDates)
                    << Qt::endl;
        }
    }
    if (trial && done)
        reportTrial(*trial, o.format, out, err);
    if (!done && prompts.refused())
        err << QStringLiteral("Ответ «нет»: расписание не изменено. Чтобы ответить «да», "
                              "добавьте --yes")
            << Qt::endl;
    return done ? 0 : 1;
}

} // namespace

const CommandSpec &clearCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("clear"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            {{QStringLiteral("from")},
             QStringLiteral("Д"),
             QStringLiteral("удалить расписание с этой даты ...")},
            {{QStringLiteral("to")}, QStringLiteral("Д"), QStringLiteral("... по эту")},
            {{QStringLiteral("all")},
             QString(),
             QStringLiteral("удалить расписание всех дат с занятиями")},
            {{QStringLiteral("date")},
             QStringLiteral("Д"),
             QStringLiteral("удалить запись одной ячейки этой даты")},
            {{QStringLiteral("lesson")}, QStringLiteral("N"), QStringLiteral("урок ячейки")},
            groupOption(QStringLiteral("ячейка группы (все подгруппы)")),
            tutorOption(QStringLiteral("ячейка преподавателя")),
            yesOption(),
            dryRunOption(),
            formatOption(),
            setOption(),
        },
        QStringLiteral("удалить расписание дат или запись ячейки"),
        QStringLiteral("  Удаление многих дат выполняется только с --yes, целиком или не "
                       "выполняется вовсе;\n  заблокированные даты не изменяются. Вопрос о "
                       "подтверждении (настройка CheckDelete)\n  получает ответ «да» только с "
                       "--yes."),
    };
    return spec;
}

int runClearCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    ClearOptions o;
    return runCommand(
        clearCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return clear(o, out, err); });
}

} // namespace korvesta
