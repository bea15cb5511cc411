#include "clioptions.h"

#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/trialrun.h"
#include "editing/commandrun.h"
#include "editing/consoleprompts.h"
#include "options/optionssession.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"

#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <vector>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

const char *const optionsUsage =
    "Использование:\n"
    "  korvesta options ФАЙЛ [--study-period Д Д] [--holiday Д [Д]]... [--lesson-time N "
    "ВРЕМЯ]...\n"
    "                   [--faculty ИМЯ]... [--specialization ИМЯ]... [--protect-all] "
    "[--dry-run]\n"
    "  Записывает в документ учебный период, праздники (одна дата) и каникулы (две даты),\n"
    "  время занятий, факультеты и специализации с проверками окна «Настройки»;\n"
    "  --protect-all защищает от изменения все даты расписания.\n";

QDate dateArgument(const QString &text)
{
    return parseMoment(text).date();
}

} // namespace

int runOptionsCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString path;
    bool dryRun = false;
    std::optional<OptionsSession::Period> study;
    // Each change in the order given, the study period first.
    std::vector<std::function<bool(OptionsSession &)>> changes;
    const auto badDate = [&](const QString &text) {
        err << QStringLiteral("Непонятная дата: %1").arg(text) << Qt::endl;
        return 2;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const int left = int(args.size()) - i - 1;
        if (a == u"--help") {
            out << QString::fromUtf8(optionsUsage);
            return 0;
        } else if (a == u"--dry-run") {
            dryRun = true;
        } else if (a == u"--study-period" && left >= 2) {
            const QDate start = dateArgument(args[++i]);
            const QDate end = dateArgument(args[++i]);
            if (!start.isValid() || !end.isValid())
                return badDate(args[i - 1] + QLatin1Char(' ') + args[i]);
            study = OptionsSession::Period{start, end};
        } else if (a == u"--holiday" && left >= 1) {
            const QDate first = dateArgument(args[++i]);
            if (!first.isValid())
                return badDate(args[i]);
            QDate last = first;
            if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1String("--"))) {
                last = dateArgument(args[++i]);
                if (!last.isValid())
                    return badDate(args[i]);
            }
            changes.push_back([first, last](OptionsSession &o) {
                const std::optional<OptionsSession::Period> period = o.storedStudyPeriod();
                return o.addHoliday(first, last, period.value_or(OptionsSession::Period{}));
            });
        } else if (a == u"--lesson-time" && left >= 2) {
            bool ok = false;
            const int lesson = args[++i].toInt(&ok);
            if (!ok || lesson < 1 || lesson > 24) {
                err << QStringLiteral("Номер урока от 1 до 24: %1").arg(args[i]) << Qt::endl;
                return 2;
            }
            const QString time = args[++i];
            changes.push_back(
                [lesson, time](OptionsSession &o) { return o.setLessonTime(lesson, time); });
        } else if (a == u"--faculty" && left >= 1) {
            const QString name = args[++i];
            changes.push_back([name](OptionsSession &o) { return o.addFaculty(name); });
        } else if (a == u"--specialization" && left >= 1) {
            const QString name = args[++i];
            changes.push_back([name](OptionsSession &o) { return o.addSpecialization(name); });
        } else if (a == u"--protect-all") {
            changes.push_back([](OptionsSession &o) {
                o.protectAll();
                return true;
            });
        } else if (path.isEmpty() && !a.startsWith(QStringLiteral("--"))) {
            path = a;
        } else {
            err << QStringLiteral("Непонятный аргумент: %1").arg(a) << Qt::endl
                << QString::fromUtf8(optionsUsage);
            return 2;
        }
    }
    if (path.isEmpty() || (!study && changes.empty())) {
        err << QStringLiteral("Укажите файл документа и что в нём записать") << Qt::endl
            << QString::fromUtf8(optionsUsage);
        return 2;
    }
    if (!documentFileGiven(path, err))
        return ExitUnreadable;

    // The user's settings are read, never written: the command changes the document only.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        err << QStringLiteral("Не удалось создать временную папку") << Qt::endl;
        return 1;
    }
    SettingsStore settings(scratch.filePath(QStringLiteral("settings.ini")));
    SettingsRecord record;
    record.load(SettingsStore());
    ConsolePrompts prompts(err);
    DocumentSession session(prompts, settings, AppPaths::standard());
    session.startFromCommandLine({path});
    const std::optional<Database> db = session.access();
    if (!db)
        return ExitUnreadable;
    std::optional<TrialRun> trial;
    if (dryRun)
        trial.emplace(*db);
    OptionsSession options(session, settings, record, prompts);
    if (study && !options.setStudyPeriod(*study))
        return 1;
    for (const auto &change : changes) {
        if (!change(options))
            return 1;
    }
    if (trial)
        trial->report(out, err);
    return 0;
}

} // namespace korvesta
