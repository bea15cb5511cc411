#include "loadcommand.h"

#include "commandline.h"
#include "trialreport.h"
#include "editing/commandrun.h"
#include "editing/consoleprompts.h"
#include "data/apppaths.h"
#include "data/database.h"
#include "data/documentsession.h"
#include "data/trialrun.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "editing/loadeditor.h"
#include "settings/settingsstore.h"

#include <QTemporaryDir>

#include <optional>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

struct LoadOptions
{
    QString path;
    QString action;
    LoadEntry entry;
    bool hasGroup = false;
    bool hasHours = false;
    bool yes = false;
    bool dryRun = false;
    RecordFormat format = RecordFormat::Text;
};

const QStringList &actionWords()
{
    static const QStringList words = {QStringLiteral("add"), QStringLiteral("hours"),
                                      QStringLiteral("remove")};
    return words;
}

void readOptions(CommandLine &line, LoadOptions &o)
{
    o.path = line.arguments().value(0);
    o.action = line.arguments().value(1);
    o.entry.tutor = line.value(QStringLiteral("tutor"));
    o.entry.discipline = line.value(QStringLiteral("discipline"));
    o.entry.group = line.value(QStringLiteral("group"));
    o.hasGroup = line.isSet(QStringLiteral("group"));
    o.entry.hours = line.value(QStringLiteral("hours"));
    o.hasHours = line.isSet(QStringLiteral("hours"));
    o.entry.auditorium = line.value(QStringLiteral("aud"));
    o.yes = line.isSet(QStringLiteral("yes"));
    o.dryRun = line.isSet(QStringLiteral("dry-run"));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    if (!actionWords().contains(o.action))
        line.fail(QStringLiteral("Действие - add, hours или remove, а не «%1»").arg(o.action));
    else if (o.entry.tutor.trimmed().isEmpty())
        line.fail(QStringLiteral("Не указан преподаватель (--tutor)"));
    else if (o.entry.discipline.trimmed().isEmpty())
        line.fail(QStringLiteral("Не указана дисциплина (--discipline)"));
    else if (o.action != u"remove" && !o.hasGroup)
        line.fail(QStringLiteral("Не указана группа (--group)"));
    else if (o.action != u"remove" && !o.hasHours)
        line.fail(QStringLiteral("Не указана нагрузка в часах (--hours)"));
}

bool tutorListed(const Database &db, const QString &tutor)
{
    const Recordset rs = db.openRecordset(QStringLiteral("SELECT tblTutors.Key "
                                                         "FROM tblTutors "
                                                         "WHERE (((tblTutors.Tutor)=%1));")
                                              .arg(sqlText(tutor.trimmed())));
    return !rs.isEof();
}

int loadCommand(const LoadOptions &options, QTextStream &out, QTextStream &err)
{
    if (!documentFileGiven(options.path, err))
        return ExitUnreadable;
    // Nothing the command does reaches the user's own settings.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        err << QStringLiteral("Не удалось создать временную папку") << Qt::endl;
        return 1;
    }
    SettingsStore settings(scratch.filePath(QStringLiteral("settings.ini")));
    ConsolePrompts prompts(err, options.yes);
    DocumentSession session(prompts, settings, AppPaths::standard());
    session.startFromCommandLine({options.path});
    const std::optional<Database> db = session.access();
    if (!db) {
        err << QStringLiteral("Документ «%1» не открыт").arg(options.path) << Qt::endl;
        return ExitUnreadable;
    }

    // A trial runs the change inside a transaction of its own that is never committed.
    std::optional<TrialRun> trial;
    if (options.dryRun)
        trial.emplace(*db);
    LoadEditor editor(session, prompts);
    // The group and the tutor as every command names them; a name nobody has is left to the
    // load's own checks (a new tutor is added by his name).
    LoadEntry entry = options.entry;
    if (options.hasGroup) {
        int refusal = ExitRefused;
        const std::optional<NamedObject> g =
            objectOfOption(*db, NamedKind::Group, QStringLiteral("--group"), entry.group, err,
                           refusal);
        if (!g)
            return refusal;
        entry.group = g->group + QStringLiteral("  (") + g->course + u')'
                      + (g->faculty.isEmpty() ? QString() : u' ' + g->faculty);
    }
    if (!entry.tutor.trimmed().isEmpty()) {
        const ObjectLookup t = findObject(*db, NamedKind::Tutor, entry.tutor);
        if (t.ambiguous) {
            err << QStringLiteral("--tutor: ") << t.error << Qt::endl;
            return ExitUsage;
        }
        if (t.object)
            entry.tutor = t.object->canonical;
    }
    bool changed = false;
    if (options.action == u"add") {
        changed =
            tutorListed(*db, entry.tutor) ? editor.addDiscipline(entry) : editor.addTutor(entry);
    } else if (options.action == u"hours") {
        changed = editor.changeHours(entry);
    } else if (options.hasGroup) {
        changed = editor.removeGroup(entry.tutor, entry.discipline, entry.group);
    } else {
        changed = editor.removeDiscipline(entry.tutor, entry.discipline);
    }
    if (changed && trial)
        reportTrial(*trial, options.format, out, err);
    if (changed)
        return 0;
    if (prompts.refused())
        err << QStringLiteral("Ответ «нет»: нагрузка не изменена. Чтобы ответить «да», "
                              "добавьте --yes")
            << Qt::endl;
    return 1;
}

} // namespace

const CommandSpec &loadCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("load"),
        {QStringLiteral("ФАЙЛ"), QStringLiteral("ДЕЙСТВИЕ")},
        2,
        {
            {{QStringLiteral("tutor")},
             QStringLiteral("П"),
             QStringLiteral("преподаватель (новый для add добавляется по этому имени)"),
             false,
             Completion::Tutor},
            {{QStringLiteral("discipline")},
             QStringLiteral("ДИСЦ"),
             QStringLiteral("дисциплина"),
             false,
             Completion::Discipline},
            {{QStringLiteral("group")},
             QStringLiteral("ГРУППА"),
             QStringLiteral("группа (для remove без неё убирается вся дисциплина)"),
             false,
             Completion::Group},
            {{QStringLiteral("hours")}, QStringLiteral("Ч"), QStringLiteral("нагрузка в часах")},
            {{QStringLiteral("aud"), QStringLiteral("auditorium")},
             QStringLiteral("АУД"),
             QStringLiteral("постоянная аудитория преподавателя"),
             false,
             Completion::Auditorium},
            yesOption(),
            dryRunOption(),
            formatOption(),
        },
        QStringLiteral("изменить учебную нагрузку с проверками окна"),
        QStringLiteral("  ДЕЙСТВИЕ: add - добавить нового преподавателя со строкой нагрузки или "
                       "дисциплину\n  и группу имеющемуся; hours - изменить часы; remove - "
                       "убрать группу (без --group -\n  дисциплину)."),
        {{Completion::Document, {}}, {Completion::Words, actionWords()}},
    };
    return spec;
}

int runLoadCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    LoadOptions o;
    return runCommand(
        loadCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return loadCommand(o, out, err); });
}

} // namespace korvesta
