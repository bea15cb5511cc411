#include "cli.h"

#include "clibusy.h"
#include "cliexport.h"
#include "clifree.h"
#include "cliload.h"
#include "clilock.h"
#include "clioptions.h"
#include "clireport.h"
#include "cliview.h"
#include "data/database.h"
#include "data/dberror.h"
#include "sample/demodocument.h"
#include "sample/samplenorms.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "data/calendar.h"
#include "data/documenttemplate.h"
#include "data/history.h"
#include "data/trialrun.h"
#include "data/isodate.h"
#include "data/connection.h"
#include "data/querydef.h"
#include "data/recordset.h"
#include "editing/clearcommand.h"
#include "editing/copycommand.h"
#include "assist/covercommand.h"
#include "cli/suggestcommand.h"
#include "cli/checkcommand.h"
#include "import/importcommand.h"
#include "publish/publishcommand.h"
#include "editing/auditoriumcommand.h"
#include "editing/datenotecommand.h"
#include "editing/placementcommand.h"
#include "editing/exitcode.h"
#include "cli/newyearcommand.h"
#include "cli/sqlcommand.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>
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

const char *const usage =
    "Использование:\n"
    "  korvesta [ФАЙЛ.kvt]                 открыть окно программы (с документом)\n"
    "  korvesta new ФАЙЛ [--force]         записать новый пустой документ\n"
    "  korvesta sql ФАЙЛ \"ЗАПРОС\" [--param ИМЯ=ЗНАЧЕНИЕ ...] [--format text|tsv|json]\n"
    "               [--iso-dates] [--dry-run]\n"
    "                                      выполнить запрос или сохранённый запрос по имени\n"
    "                                      (korvesta sql --help)\n"
    "  korvesta demo ФАЙЛ [--size small|large] [--full-year] [--force]\n"
    "                                      записать пример колледжа в середине семестра:\n"
    "                                      расписание составлено до конца текущей недели,\n"
    "                                      у каждой строки нагрузки остались часы\n"
    "                                      (small - по умолчанию; --full-year - весь год)\n"
    "  korvesta new-year ФАЙЛ НОВЫЙ.kvt --start Д [--keep-load] [--hours-from ЧАСЫ.csv]\n"
    "                                      документ следующего учебного года\n"
    "                                      (korvesta new-year --help)\n"
    "  korvesta view ФАЙЛ КОД [--date Д] [--from Д --to Д] [--object ИМЯ] [--width ТВИПЫ]\n"
    "                [--set РАЗДЕЛ/КЛЮЧ=ЗНАЧЕНИЕ ...] [--filter ПУНКТ] [--format tsv|html]\n"
    "                                      заполнить вид с кодом КОД, как это делает окно, и\n"
    "                                      вывести его таблицу: tsv - строка таблицы на строку,\n"
    "                                      ячейки через табуляцию; html - таблица с\n"
    "                                      объединениями и цветами. --set меняет настройку\n"
    "                                      только на этот запуск. Период (--from, --to) - для\n"
    "                                      табеля и отработки (33, 34, 35); занятость (43)\n"
    "                                      показывается за месяц даты --date (или --from)\n"
    "  korvesta load ФАЙЛ add|hours|remove --tutor П --discipline Д [--group Г] [--hours Ч]\n"
    "                [--auditorium А] [--yes] [--dry-run]\n"
    "                                      изменить нагрузку с проверками окна: add - добавить\n"
    "                                      нового преподавателя со строкой нагрузки или\n"
    "                                      дисциплину и группу имеющемуся; hours - изменить\n"
    "                                      часы; remove - убрать группу (без --group -\n"
    "                                      дисциплину). Группа - \"П-9  (1)\". На вопросы\n"
    "                                      отвечается «нет», с --yes - «да»; --dry-run -\n"
    "                                      только проверить, ничего не записывая\n"
    "  korvesta place ФАЙЛ ...             поставить занятие (korvesta place --help)\n"
    "  korvesta auditorium ФАЙЛ ...        сменить аудиторию занятий ячейки\n"
    "                                      (korvesta auditorium --help)\n"
    "  korvesta suggest ФАЙЛ --group Г --discipline Д [--from Д --to Д] [--top N]\n"
    "                                      лучшие свободные уроки для строки нагрузки\n"
    "                                      (korvesta suggest --help)\n"
    "  korvesta cover ФАЙЛ --tutor П --date Д [--assign]\n"
    "                                      кто может заменить отсутствующего преподавателя\n"
    "                                      (korvesta cover --help)\n"
    "  korvesta check ФАЙЛ [--from Д --to Д] [--format tsv|html]\n"
    "                                      проверить расписание: все накладки и нарушения\n"
    "                                      (korvesta check --help)\n"
    "  korvesta import ФАЙЛ ИСТОЧНИК.xlsx|.csv --kind groups|tutors|disciplines|auditoriums|load\n"
    "                                      импорт списка или нагрузки (korvesta import --help)\n"
    "  korvesta publish ФАЙЛ ПАПКА [--from Д --to Д]\n"
    "                                      опубликовать расписание в папку: календари .ics и\n"
    "                                      веб-страницы групп, преподавателей и аудиторий\n"
    "                                      (korvesta publish --help)\n"
    "  korvesta note ФАЙЛ --date Д [--set ТЕКСТ]\n"
    "                                      прочитать или записать заметку на дату\n"
    "  korvesta lock ФАЙЛ --date Д [--unlock [--password П]] [--dry-run]\n"
    "                                      закрыть дату расписания для редактирования или\n"
    "                                      открыть её (korvesta lock --help)\n"
    "  korvesta busy ФАЙЛ --tutor П ...    отметить занятость преподавателя или снять\n"
    "                                      отметки (korvesta busy --help)\n"
    "  korvesta clear ФАЙЛ ...             удалить расписание дат или запись ячейки\n"
    "                                      (korvesta clear --help)\n"
    "  korvesta copy ФАЙЛ ...              скопировать день или неделю расписания, размножить\n"
    "                                      день на период (korvesta copy --help)\n"
    "  korvesta report ФАЙЛ \"НАЗВАНИЕ\" [--object ИМЯ] [--from Д --to Д] --out ДОКУМЕНТ\n"
    "                                      записать отчёт (расписание преподавателя, группы,\n"
    "                                      аудитории и др.) в PDF, HTML, RTF или текст\n"
    "                                      (korvesta report --help)\n"
    "  korvesta export ФАЙЛ КОД ТАБЛИЦА.xlsx [параметры view]\n"
    "                                      записать таблицу вида в файл MS Excel, как окно\n"
    "                                      (korvesta export --help)\n"
    "  korvesta options ФАЙЛ ...           учебный период, праздники, время занятий,\n"
    "                                      факультеты, специализации (korvesta options --help)\n"
    "  korvesta free ФАЙЛ --date Д --lesson N [--kind groups|disciplines|auditoriums|tutors]\n"
    "                                      вывести, кто и что свободно или занято на уроке N\n"
    "                                      даты Д (korvesta free --help)\n"
    "  korvesta help                       эта справка\n"
    "  korvesta --version                  версия программы\n";

int fail(const QString &message, int code = 1)
{
    err() << message << Qt::endl;
    return code;
}

int usageError(const QString &message)
{
    err() << message << Qt::endl << QString::fromUtf8(usage);
    err().flush();
    return 2;
}

// The lines of the usage text that describe one command, or empty when it has none.
QString commandUsage(const QString &command)
{
    const QString prefix = QStringLiteral("  korvesta ") + command + QLatin1Char(' ');
    QStringList lines;
    bool inside = false;
    for (const QString &line : QString::fromUtf8(usage).split(u'\n')) {
        if (line.startsWith(QLatin1String("  korvesta ")))
            inside = line.startsWith(prefix);
        if (inside)
            lines << line;
    }
    if (lines.isEmpty())
        return QString();
    return QStringLiteral("Использование:\n") + lines.join(u'\n') + u'\n';
}


int newDocument(const QStringList &args)
{
    QString path;
    bool force = false;
    for (const QString &a : args) {
        if (a == u"--force")
            force = true;
        else if (path.isEmpty())
            path = a;
        else
            return usageError(QStringLiteral("Лишний аргумент: %1").arg(a));
    }
    if (path.isEmpty())
        return usageError(QStringLiteral("Не указан файл нового документа"));
    if (QFileInfo::exists(path) && !force)
        return fail(QStringLiteral("Файл «%1» уже существует. Чтобы заменить его, добавьте --force")
                        .arg(path));
    try {
        writeNewDocument(path);
    } catch (const DbError &e) {
        return fail(e.message());
    }
    return 0;
}

int demoDocument(const QStringList &args)
{
    QString path;
    bool force = false;
    bool fullYear = false;
    DemoSize size = DemoSize::Small;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--force") {
            force = true;
        } else if (a == u"--full-year") {
            fullYear = true;
        } else if (a == u"--size" || a.startsWith(QLatin1String("--size="))) {
            const QString value = a == u"--size" ? args.value(++i) : a.mid(7);
            if (value == u"small")
                size = DemoSize::Small;
            else if (value == u"large")
                size = DemoSize::Large;
            else
                return usageError(QStringLiteral("Размер примера - small или large: %1").arg(value));
        } else if (a.startsWith(QLatin1String("--")) || !path.isEmpty()) {
            return usageError(QStringLiteral("Лишний аргумент: %1").arg(a));
        } else {
            path = a;
        }
    }
    if (path.isEmpty())
        return usageError(QStringLiteral("Не указан файл примера"));
    if (QFileInfo::exists(path) && !force)
        return fail(QStringLiteral("Файл «%1» уже существует. Чтобы заменить его, добавьте --force")
                        .arg(path));
    try {
        const QDate today = QDate::currentDate();
        DemoRequest request = DemoRequest::midTerm(size, today);
        if (fullYear)
            request = DemoRequest::fullYear(size, academicYearStart(today).year());
        const DemoNorms norms = writeDemoDocument(path, request);
        SettingsStore settings;
        SettingsRecord record;
        record.load(settings);
        const QString changed = fitNormsToSample(norms, record, settings);
        if (!changed.isEmpty())
            out() << changed << Qt::endl;
    } catch (const DbError &e) {
        return fail(e.message());
    }
    return 0;
}

} // namespace

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
    return 1;
}

int runCommandLine(const QStringList &args)
{
    const QString command = args.value(0);
    const QStringList rest = args.mid(1);
    // "korvesta help COMMAND" is "korvesta COMMAND --help"; the help of help is the help.
    const auto isHelp = [](const QString &word) {
        return word == u"help" || word == u"--help" || word == u"-h";
    };
    if (isHelp(command) && !rest.isEmpty() && !isHelp(rest.constFirst()))
        return runCommandLine({rest.constFirst(), QStringLiteral("--help")});
    if (isHelp(command)) {
        out() << QString::fromUtf8(usage);
        out().flush();
        return 0;
    }
    // The commands without a help text of their own show their lines of the usage.
    static const QStringList briefCommands = {QStringLiteral("new"),
                                              QStringLiteral("demo"), QStringLiteral("view"),
                                              QStringLiteral("load")};
    if (briefCommands.contains(command)
        && (rest.contains(QStringLiteral("--help")) || rest.contains(QStringLiteral("-h")))) {
        out() << commandUsage(command);
        out().flush();
        return 0;
    }
    if (command == u"new")
        return runGuarded([&] { return newDocument(rest); }, err());
    if (command == u"sql")
        return runGuarded([&] { return runSqlCommand(rest, out(), err()); }, err());
    if (command == u"demo")
        return runGuarded([&] { return demoDocument(rest); }, err());
    if (command == u"view")
        return runViewCommand(rest, out(), err());
    if (command == u"load")
        return runGuarded([&] { return runLoadCommand(rest, out(), err()); }, err());
    if (command == u"place")
        return runGuarded([&] { return runPlaceCommand(rest, out(), err()); }, err());
    if (command == u"auditorium")
        return runGuarded([&] { return runAuditoriumCommand(rest, out(), err()); }, err());
    if (command == u"cover")
        return runGuarded([&] { return runCoverCommand(rest, out(), err()); }, err());
    if (command == u"suggest")
        return runGuarded([&] { return runSuggestCommand(rest, out(), err()); }, err());
    if (command == u"check")
        return runGuarded([&] { return runCheckCommand(rest, out(), err()); }, err());
    if (command == u"import")
        return runGuarded([&] { return runImportCommand(rest, out(), err()); }, err());
    if (command == u"publish")
        return runGuarded([&] { return runPublishCommand(rest, out(), err()); }, err());
    if (command == u"note")
        return runGuarded([&] { return runNoteCommand(rest, out(), err()); }, err());
    if (command == u"lock")
        return runGuarded([&] { return runLockCommand(rest, out(), err()); }, err());
    if (command == u"busy")
        return runGuarded([&] { return runBusyCommand(rest, out(), err()); }, err());
    if (command == u"clear")
        return runGuarded([&] { return runClearCommand(rest, out(), err()); }, err());
    if (command == u"copy")
        return runGuarded([&] { return runCopyCommand(rest, out(), err()); }, err());
    if (command == u"free")
        return runGuarded([&] { return runFreeCommand(rest, out(), err()); }, err());
    if (command == u"report")
        return runGuarded([&] { return runReportCommand(rest, out(), err()); }, err());
    if (command == u"export")
        return runGuarded([&] { return runExportCommand(rest, out(), err()); }, err());
    if (command == u"options")
        return runGuarded([&] { return runOptionsCommand(rest, out(), err()); }, err());
    if (command == u"new-year")
        return runGuarded([&] { return runNewYearCommand(rest, out(), err()); }, err());
    return usageError(QStringLiteral("Неизвестная команда: %1").arg(command));
}

} // namespace korvesta
