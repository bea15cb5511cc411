#include "clireport.h"

#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/queries.h"
#include "editing/commandrun.h"
#include "editing/commandsettings.h"
#include "editing/consoleprompts.h"
#include "reports/documentfiles.h"
#include "reports/reportmaker.h"

#include <QDir>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

const char *const reportUsage =
    "Использование:\n"
    "  korvesta report ФАЙЛ \"НАЗВАНИЕ\" [--object ИМЯ] [--from Д] [--to Д] --out ДОКУМЕНТ\n"
    "                  [--set КЛЮЧ=ЗНАЧЕНИЕ ...]\n"
    "  Записывает отчёт документа в файл; вид файла - по его окончанию: .pdf, .htm,\n"
    "  .html (со структурой), .xhtm (с разделением на страницы, записывается как .htm),\n"
    "  .rtf, .txt. Отчёты:\n"
    "    \"РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ\", \"РАСПИСАНИЕ ГРУППЫ\", \"РАСПИСАНИЕ АУДИТОРИИ\" -\n"
    "        --object: преподаватель, группа (\"П-9  (1)\" или \"П-9\"), аудитория;\n"
    "        --from и --to: период (по умолчанию сегодня)\n"
    "    \"ЗАНЯТОСТЬ ПРЕПОДАВАТЕЛЯ\" (--object), \"ПАСПОРТ ГРУППЫ\" (--object),\n"
    "    \"СПИСОК ГРУПП\", \"СПИСОК ДИСЦИПЛИН\", \"НАГРУЗКА\"\n"
    "  Даты: дд.мм.гггг или гггг-мм-дд. --set меняет настройку раздела Settings только на\n"
    "  этот запуск (например UseHeadReport=False).\n";

struct ReportOptions
{
    QString path;
    QString name;
    QString object;
    QDate from;
    QDate to;
    QString outFile;
    CommandSettings::Values sets;
};

QString parseOptions(const QStringList &args, ReportOptions &options)
{
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            positional << a;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("Не задано значение для %1").arg(a);
        const QString value = args[++i];
        if (a == u"--object") {
            options.object = value;
        } else if (a == u"--from" || a == u"--to") {
            const QDate date = parseMoment(value).date();
            if (!date.isValid())
                return QStringLiteral("Неверная дата: %1 (нужно дд.мм.гггг или гггг-мм-дд)")
                    .arg(value);
            (a == u"--from" ? options.from : options.to) = date;
        } else if (a == u"--out") {
            options.outFile = value;
        } else if (a == u"--set") {
            if (const QString problem = CommandSettings::addSet(value, options.sets);
                !problem.isEmpty())
                return problem;
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        }
    }
    if (positional.size() < 2)
        return QStringLiteral("Укажите файл документа и название отчёта");
    if (positional.size() > 2)
        return QStringLiteral("Лишний аргумент: %1").arg(positional[2]);
    options.path = positional[0];
    options.name = positional[1];
    const ReportKind *kind = findReportKind(options.name);
    if (!kind)
        return QStringLiteral("Неизвестный отчёт: «%1»").arg(options.name);
    if (kind->needsObject && options.object.trimmed().isEmpty())
        return QStringLiteral("Для отчёта «%1» укажите --object").arg(QString::fromUtf8(kind->name));
    if (options.outFile.isEmpty())
        return QStringLiteral("Укажите файл отчёта: --out");
    if (!documentTypeOf(options.outFile))
        return QStringLiteral("Вид файла отчёта определяется окончанием .pdf, .htm, .html, "
                              ".xhtm, .rtf или .txt: %1")
            .arg(options.outFile);
    if (!options.from.isValid())
        options.from = options.to.isValid() ? options.to : QDate::currentDate();
    if (!options.to.isValid())
        options.to = options.from;
    if (options.to < options.from)
        return QStringLiteral("Начало периода позже его конца");
    return QString();
}

// Whether the document has the object the report is about, as the window's object lists
// offer them: a tutor by name, a group or an auditorium by name or display form.
bool objectKnown(DocumentQueries &queries, const ReportKind &kind, const QString &object)
{
    QString list;
    QStringList fields;
    switch (kind.viewCode) {
    case 50:
    case 53:
        list = QStringLiteral("Tutors");
        fields = {QStringLiteral("Tutor")};
        break;
    case 51:
    case 2:
        list = QStringLiteral("Groups");
        fields = {QStringLiteral("Group"), QStringLiteral("GroupCourse")};
        break;
    case 52:
        list = QStringLiteral("Auditories");
        fields = {QStringLiteral("Auditoria"), QStringLiteral("AudText")};
        break;
    default:
        return true;
    }
    std::optional<Recordset> rs = queries.OpenList(list);
    for (; rs && !rs->isEof(); rs->moveNext())
        for (const QString &field : fields)
            if (rs->value(field).toString().compare(object.trimmed(), Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

int reportCommand(const ReportOptions &options, QTextStream &out, QTextStream &err)
{
    Q_UNUSED(out)
    if (!documentFileGiven(options.path, err))
        return ExitUnreadable;
    CommandSettings settings(options.sets);
    if (!settings.usable()) {
        err << CommandSettings::unusableText() << Qt::endl;
        return 1;
    }
    const ReportKind *kind = findReportKind(options.name);
    ConsolePrompts prompts(err);
    DocumentSession session(prompts, settings.store(), AppPaths::standard());
    // A report only reads.
    session.setReadingOnly(true);
    session.startFromCommandLine({options.path});
    if (!session.access()) {
        err << QStringLiteral("Документ «%1» не открыт").arg(options.path) << Qt::endl;
        return ExitUnreadable;
    }
    DocumentQueries queries(session, settings.store(), prompts);
    if (kind->needsObject && !objectKnown(queries, *kind, options.object)) {
        err << QStringLiteral("В документе нет объекта «%1» для отчёта «%2»")
                   .arg(options.object, QString::fromUtf8(kind->name))
            << Qt::endl;
        return 1;
    }

    ReportMaker maker(session, settings.store(), settings.record(), prompts,
                      AppPaths::standard().applicationFolder);
    const std::optional<ReportContent> content =
        maker.make({options.name, options.object, 0, options.from, options.to});
    if (!content)
        return 1;
    const QString problem = writeReportDocument(*content, options.outFile,
                                                *documentTypeOf(options.outFile));
    if (!problem.isEmpty()) {
        err << problem << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace

int runReportCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<ReportOptions>(args, out, err, reportUsage, parseOptions,
                                        reportCommand);
}

} // namespace korvesta
