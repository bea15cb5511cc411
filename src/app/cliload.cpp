#include "cliload.h"

#include "editing/commandrun.h"

#include "cli.h"
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
};

// An empty result when the options are usable, else what is wrong.
QString parseOptions(const QStringList &args, LoadOptions &options)
{
    if (args.size() < 2)
        return QStringLiteral("Укажите файл документа и действие: add, hours или remove");
    options.path = args[0];
    options.action = args[1];
    if (options.action != u"add" && options.action != u"hours" && options.action != u"remove")
        return QStringLiteral("Неизвестное действие: %1 (нужно add, hours или remove)")
            .arg(options.action);
    bool hasTutor = false;
    bool hasDiscipline = false;
    for (int i = 2; i < args.size(); ++i) {
        const QString &name = args[i];
        if (name == u"--yes" || name == u"--dry-run") {
            (name == u"--yes" ? options.yes : options.dryRun) = true;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("Не задано значение для %1").arg(name);
        const QString value = args[++i];
        if (name == u"--tutor") {
            options.entry.tutor = value;
            hasTutor = true;
        } else if (name == u"--discipline") {
            options.entry.discipline = value;
            hasDiscipline = true;
        } else if (name == u"--group") {
            options.entry.group = value;
            options.hasGroup = true;
        } else if (name == u"--hours") {
            options.entry.hours = value;
            options.hasHours = true;
        } else if (name == u"--auditorium" || name == u"--aud") {
            options.entry.auditorium = value;
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(name);
        }
    }
    if (!hasTutor || !hasDiscipline)
        return QStringLiteral("Укажите преподавателя (--tutor) и дисциплину (--discipline)");
    if (options.action != u"remove" && !options.hasGroup)
        return QStringLiteral("Укажите группу (--group), например \"П-9  (1)\"");
    if (options.action != u"remove" && !options.hasHours)
        return QStringLiteral("Укажите нагрузку в часах (--hours)");
    return QString();
}

bool tutorListed(const Database &db, const QString &tutor)
{
    const Recordset rs = db.openRecordset(QStringLiteral("SELECT tblTutors.Key "
                                                         "FROM tblTutors "
                                                         "WHERE (((tblTutors.Tutor)=%1));")
                                              .arg(sqlText(tutor.trimmed())));
    return !rs.isEof();
}

int loadCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    LoadOptions options;
    if (const QString problem = parseOptions(args, options); !problem.isEmpty()) {
        err << problem << Qt::endl << QStringLiteral("Справка: korvesta help") << Qt::endl;
        return 2;
    }
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
        trial->report(out, err);
    if (changed)
        return 0;
    if (prompts.refused())
        err << QStringLiteral("Ответ «нет»: нагрузка не изменена. Чтобы ответить «да», "
                              "добавьте --yes")
            << Qt::endl;
    return 1;
}

} // namespace

int runLoadCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    try {
        return loadCommand(args, out, err);
    } catch (const std::exception &error) {
        err << QStringLiteral("Нагрузка не изменена: внутренняя ошибка программы") << Qt::endl
            << QString::fromLocal8Bit(error.what()) << Qt::endl;
    } catch (...) {
        err << QStringLiteral("Нагрузка не изменена: внутренняя ошибка программы") << Qt::endl;
    }
    return 1;
}

} // namespace korvesta
