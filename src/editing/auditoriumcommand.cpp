#include "auditoriumcommand.h"

#include "auditoriumchange.h"
#include "commandrun.h"
#include "commanddocument.h"
#include "consoleprompts.h"

#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/queries.h"
#include "data/trialrun.h"

#include <optional>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

const char *const auditoriumUsage =
    "Использование:\n"
    "  korvesta auditorium ФАЙЛ --date Д --lesson N (--group \"ГРУППА (КУРС)\"\n"
    "                      | --tutor ПРЕПОДАВАТЕЛЬ) --aud \"101 (Главный)\" [--yes] [--dry-run]\n"
    "                      [--set КЛЮЧ=ЗНАЧЕНИЕ ...]\n"
    "  Всем занятиям ячейки (по группе - всем подгруппам, по преподавателю - всем группам\n"
    "  лекции) назначается аудитория. На вопрос о занятой аудитории\n"
    "  отвечается \"Отмена\", с --yes - \"OK\"; --dry-run ничего не записывает.\n";

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
    CommandSettings::Values sets;
};

QString parseOptions(const QStringList &args, AuditoriumOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--yes" || a == u"--dry-run") {
            (a == u"--yes" ? o.yes : o.dryRun) = true;
            continue;
        }
        if (!a.startsWith(QStringLiteral("--")) && o.path.isEmpty()) {
            o.path = a;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("Не задано значение для %1").arg(a);
        const QString value = args[++i];
        bool number = true;
        if (a == u"--date") {
            o.date = parseMoment(value).date();
            if (!o.date.isValid())
                return QStringLiteral("Непонятная дата: %1").arg(value);
        } else if (a == u"--lesson") {
            o.lesson = value.toInt(&number);
        } else if (a == u"--group") {
            o.group = value;
        } else if (a == u"--tutor") {
            o.tutor = value;
        } else if (a == u"--aud" || a == u"--auditorium") {
            o.aud = value;
        } else if (a == u"--set") {
            if (const QString problem = CommandSettings::addSet(value, o.sets);
                !problem.isEmpty())
                return problem;
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        }
        if (!number)
            return QStringLiteral("Ожидалось число: %1 %2").arg(a, value);
    }
    if (o.path.isEmpty() || !o.date.isValid() || o.lesson < 1)
        return QStringLiteral("Укажите файл документа, дату (--date) и урок (--lesson)");
    if (o.group.isEmpty() == o.tutor.isEmpty())
        return QStringLiteral("Укажите группу (--group) или преподавателя (--tutor)");
    if (o.aud.trimmed().isEmpty())
        return QStringLiteral("Укажите аудиторию (--aud)");
    return QString();
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
        trial->report(out, err);
    return 0;
}

} // namespace

int runAuditoriumCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<AuditoriumOptions>(args, out, err, auditoriumUsage, parseOptions,
                                            changeAuditorium);
}

} // namespace korvesta
