#include "subcommands.h"

#include "auditoriumcommand.h"
#include "busycommand.h"
#include "checkcommand.h"
#include "clearcommand.h"
#include "commandline.h"
#include "completionscript.h"
#include "copycommand.h"
#include "covercommand.h"
#include "exportcommand.h"
#include "freecommand.h"
#include "generatecommand.h"
#include "importcommand.h"
#include "loadcommand.h"
#include "lockcommand.h"
#include "manualpage.h"
#include "namescommand.h"
#include "servercommands.h"
#include "newcommand.h"
#include "newyearcommand.h"
#include "notecommand.h"
#include "optionscommand.h"
#include "placecommand.h"
#include "publishcommand.h"
#include "reportcommand.h"
#include "sqlcommand.h"
#include "suggestcommand.h"
#include "viewcommand.h"

#include "data/dberror.h"
#include "editing/exitcode.h"

#include <exception>
#include <new>

namespace korvesta {

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

const CommandSpec &helpCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("help"),
        {QStringLiteral("КОМАНДА")},
        0,
        {
            {{QStringLiteral("manual")},
             QString(),
             QStringLiteral("раздел команд страницы руководства (roff), для сборки пакета")},
            {{QStringLiteral("bash-completion")},
             QString(),
             QStringLiteral("сценарий дополнения команд для bash, для сборки пакета")},
        },
        QStringLiteral("краткая справка по командам или справка одной команды"),
        QStringLiteral("  korvesta help КОМАНДА - то же, что korvesta КОМАНДА --help."),
        {{Completion::Words, {}}},
    };
    return spec;
}

int runHelpCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    bool manual = false, completion = false;
    QString command;
    return runCommand(
        helpCommandSpec(), args, out, err,
        [&](CommandLine &line) {
            manual = line.isSet(QStringLiteral("manual"));
            completion = line.isSet(QStringLiteral("bash-completion"));
            command = line.arguments().value(0);
            if (!command.isEmpty() && !findSubcommand(command))
                line.fail(QStringLiteral("Неизвестная команда: %1").arg(command));
            else if (int(manual) + int(completion) + int(!command.isEmpty()) > 1)
                line.fail(QStringLiteral("Укажите одно из: КОМАНДА, --manual или "
                                         "--bash-completion"));
        },
        [&] {
            if (manual)
                out << manualCommands();
            else if (completion)
                out << bashCompletion();
            else if (!command.isEmpty())
                out << commandHelp(findSubcommand(command)->spec());
            else
                out << commandsOverview();
            return ExitDone;
        });
}

} // namespace

const std::vector<Subcommand> &subcommands()
{
    static const std::vector<Subcommand> all = {
        {newCommandSpec, runNewCommand},
        {demoCommandSpec, runDemoCommand},
        {newYearCommandSpec, runNewYearCommand},
        {serverInitCommandSpec, runServerInitCommand},
        {serverExportCommandSpec, runServerExportCommand},
        {sqlCommandSpec, runSqlCommand},
        {namesCommandSpec, runNamesCommand},
        {viewCommandSpec, runViewCommand},
        {exportCommandSpec, runExportCommand},
        {reportCommandSpec, runReportCommand},
        {freeCommandSpec, runFreeCommand},
        {checkCommandSpec, runCheckCommand},
        {loadCommandSpec, runLoadCommand},
        {placeCommandSpec, runPlaceCommand},
        {auditoriumCommandSpec, runAuditoriumCommand},
        {suggestCommandSpec, runSuggestCommand},
        {coverCommandSpec, runCoverCommand},
        {generateCommandSpec, runGenerateCommand},
        {copyCommandSpec, runCopyCommand},
        {clearCommandSpec, runClearCommand},
        {busyCommandSpec, runBusyCommand},
        {noteCommandSpec, runNoteCommand},
        {lockCommandSpec, runLockCommand},
        {optionsCommandSpec, runOptionsCommand},
        {importCommandSpec, runImportCommand},
        {publishCommandSpec, runPublishCommand},
        {helpCommandSpec, runHelpCommand},
    };
    return all;
}

const Subcommand *findSubcommand(const QString &name)
{
    for (const Subcommand &command : subcommands()) {
        if (command.spec().name == name)
            return &command;
    }
    return nullptr;
}

QString commandsOverview()
{
    QString text = QStringLiteral("Использование:\n"
                                  "  korvesta [ФАЙЛ.kvt]\n"
                                  "      открыть окно программы (с документом)\n");
    for (const Subcommand &command : subcommands()) {
        const CommandSpec &spec = command.spec();
        text += QStringLiteral("  korvesta ") + commandSynopsis(spec) + QStringLiteral("\n      ")
                + wrapped(spec.summary, 6, 80) + u'\n';
    }
    text += QStringLiteral("  korvesta --version\n      версия программы\n"
                           "Параметры команды: korvesta КОМАНДА --help. Коды выхода: 0 - "
                           "выполнено, 1 - отказ\nили найдены ошибки, 2 - неверная командная "
                           "строка, 3 - документ не открыт.\n");
    return text;
}

int runGuarded(const std::function<int()> &command, QTextStream &errors)
{
    try {
        return command();
    } catch (const DbError &e) {
        errors << e.message() << Qt::endl;
    } catch (const std::bad_alloc &) {
        errors << QStringLiteral("Недостаточно памяти: команда не выполнена") << Qt::endl;
    } catch (const std::exception &e) {
        errors << QStringLiteral("Команда прервана из-за внутренней ошибки программы")
               << Qt::endl
               << QString::fromLocal8Bit(e.what()) << Qt::endl;
    } catch (...) {
        errors << QStringLiteral("Команда прервана из-за внутренней ошибки программы")
               << Qt::endl;
    }
    return ExitRefused;
}

int runCommandLine(const QStringList &args)
{
    QString name = args.value(0);
    QStringList rest = args.mid(1);
    // "korvesta --help" and "korvesta -h" are "korvesta help".
    if (name == u"--help" || name == u"-h")
        name = QStringLiteral("help");
    const Subcommand *command = findSubcommand(name);
    if (!command) {
        err() << QStringLiteral("Неизвестная команда: %1").arg(name) << Qt::endl
              << QStringLiteral("Справка: korvesta help") << Qt::endl;
        return ExitUsage;
    }
    const int code = runGuarded([&] { return command->run(rest, out(), err()); }, err());
    out().flush();
    err().flush();
    return code;
}

} // namespace korvesta
