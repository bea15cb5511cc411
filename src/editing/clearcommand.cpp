#include "clearcommand.h"

#include "commandrun.h"
#include "commanddocument.h"
#include "consoleprompts.h"
#include "progress.h"
#include "timetableclearing.h"

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

const char *const clearUsage =
    "Использование:\n"
    "  korvesta clear ФАЙЛ --from Д --to Д (--yes | --dry-run)\n"
    "  korvesta clear ФАЙЛ --all (--yes | --dry-run)\n"
    "  korvesta clear ФАЙЛ --date Д --lesson N (--group \"ГРУППА (КУРС)\" | --tutor П)\n"
    "                 [--yes] [--dry-run] [--set КЛЮЧ=ЗНАЧЕНИЕ ...]\n"
    "  --from/--to: удалить расписание с даты по дату; --all: на всех датах с занятиями.\n"
    "  Удаление многих дат выполняется только с --yes, целиком или не выполняется вовсе.\n"
    "  Заблокированные даты не изменяются. --date: удалить запись ячейки - занятия группы\n"
    "  (все подгруппы) или преподавателя на уроке N. Вопрос о подтверждении (настройка\n"
    "  CheckDelete) получает ответ \"Да\" только с --yes. Дата: дд.мм.гггг или гггг-мм-дд.\n"
    "  --dry-run выводит, сколько строк изменилось бы, и ничего не записывает.\n";

// Messages and status texts go to the error stream; a question is answered "Да" only under
// --yes.
struct ClearOptions
{
    QString path;
    QDate from, to, date;
    bool all = false;
    int lesson = 0;
    bool lessonGiven = false;
    QString group;
    QString tutor;
    bool yes = false;
    bool dryRun = false;
    std::vector<std::pair<QString, QString>> sets;
};

QDate parseDate(const QString &text)
{
    for (const QString &format : {QStringLiteral("dd.MM.yyyy"), QStringLiteral("d.M.yyyy")}) {
        if (const QDate date = QDate::fromString(text, format); date.isValid())
            return date;
    }
    return QDate::fromString(text, Qt::ISODate);
}

// An empty text when the options are usable, else what is wrong with them.
QString parseOptions(const QStringList &args, ClearOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--all" || a == u"--yes" || a == u"--dry-run") {
            (a == u"--all" ? o.all : a == u"--yes" ? o.yes : o.dryRun) = true;
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
        if (a == u"--from" || a == u"--to" || a == u"--date") {
            const QDate date = parseDate(value);
            if (!date.isValid())
                return QStringLiteral("Неверная дата: %1").arg(value);
            (a == u"--from" ? o.from : a == u"--to" ? o.to : o.date) = date;
        } else if (a == u"--lesson") {
            bool ok = false;
            o.lesson = value.toInt(&ok);
            if (!ok)
                return QStringLiteral("Неверное число: %1").arg(value);
            o.lessonGiven = true;
        } else if (a == u"--group") {
            o.group = value;
        } else if (a == u"--tutor") {
            o.tutor = value;
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
    const bool range = o.from.isValid() || o.to.isValid();
    const bool cell = o.date.isValid();
    if (int(range) + int(o.all) + int(cell) != 1)
        return QStringLiteral("Укажите одно из: --from и --to, --all или --date");
    if (range && !(o.from.isValid() && o.to.isValid()))
        return QStringLiteral("Диапазон задаётся двумя датами: --from и --to");
    if (cell) {
        if (!o.lessonGiven)
            return QStringLiteral("Не указан номер урока (--lesson)");
        if (o.group.isEmpty() == o.tutor.isEmpty())
            return QStringLiteral("Укажите группу (--group) или преподавателя (--tutor)");
    } else if (o.lessonGiven || !o.group.isEmpty() || !o.tutor.isEmpty()) {
        return QStringLiteral("Урок, группа и преподаватель задаются только с --date");
    }
    return QString();
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
        trial->report(out, err);
    if (!done && prompts.refused())
        err << QStringLiteral("Ответ «нет»: расписание не изменено. Чтобы ответить «да», "
                              "добавьте --yes")
            << Qt::endl;
    return done ? 0 : 1;
}

} // namespace

int runClearCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<ClearOptions>(args, out, err, clearUsage, parseOptions, clear);
}

} // namespace korvesta
