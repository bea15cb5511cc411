#include "reportcommand.h"

#include "commandline.h"

#include "data/database.h"

#include "data/apppaths.h"
#include "data/documentsession.h"
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

QStringList reportNames()
{
    return {QStringLiteral("РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ"), QStringLiteral("РАСПИСАНИЕ ГРУППЫ"),
            QStringLiteral("РАСПИСАНИЕ АУДИТОРИИ"),     QStringLiteral("ЗАНЯТОСТЬ ПРЕПОДАВАТЕЛЯ"),
            QStringLiteral("СПИСОК ГРУПП"),             QStringLiteral("ПАСПОРТ ГРУППЫ"),
            QStringLiteral("СПИСОК ДИСЦИПЛИН"),         QStringLiteral("НАГРУЗКА")};
}

void readOptions(CommandLine &line, ReportOptions &o)
{
    o.path = line.arguments().value(0);
    o.name = line.arguments().value(1);
    o.object = line.value(QStringLiteral("object"));
    o.from = line.date(QStringLiteral("from")).value_or(QDate());
    o.to = line.date(QStringLiteral("to")).value_or(QDate());
    o.outFile = line.value(QStringLiteral("out"));
    o.sets = settingValues(line);
    const ReportKind *kind = findReportKind(o.name);
    if (!kind)
        line.fail(QStringLiteral("Неизвестный отчёт: «%1»; есть: %2")
                      .arg(o.name, reportNames().join(QStringLiteral(", "))));
    else if (kind->needsObject && o.object.trimmed().isEmpty())
        line.fail(QStringLiteral("Для отчёта «%1» укажите --object")
                      .arg(QString::fromUtf8(kind->name)));
    else if (o.outFile.isEmpty())
        line.fail(QStringLiteral("Не указан файл отчёта (--out)"));
    else if (!documentTypeOf(o.outFile))
        line.fail(QStringLiteral("--out: вид файла отчёта определяется окончанием .pdf, .htm, "
                                 ".html, .xhtm, .rtf или .txt: %1")
                      .arg(o.outFile));
    if (!o.from.isValid())
        o.from = o.to.isValid() ? o.to : QDate::currentDate();
    if (!o.to.isValid())
        o.to = o.from;
    if (o.to < o.from)
        line.fail(QStringLiteral("Начало периода позже его конца"));
}

// The kind of object a report is about, when the names of every command reach it.
std::optional<NamedKind> objectKind(const ReportKind &kind)
{
    switch (kind.viewCode) {
    case 50:
    case 53:
        return NamedKind::Tutor;
    case 51:
    case 2:
        return NamedKind::Group;
    case 52:
        return NamedKind::Auditorium;
    default:
        return std::nullopt;
    }
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
    const std::optional<Database> db = session.access();
    if (!db) {
        err << QStringLiteral("Документ «%1» не открыт").arg(options.path) << Qt::endl;
        return ExitUnreadable;
    }
    // The object by the name every command takes; the report's queries read it as the
    // lists show it ("П-9  (1)", "109 (Главный)", the tutor's name).
    ReportRequest request{options.name, options.object, 0, options.from, options.to};
    if (const std::optional<NamedKind> named = objectKind(*kind)) {
        int refusal = ExitRefused;
        const std::optional<NamedObject> object = objectOfOption(
            *db, *named, QStringLiteral("--object"), options.object, err, refusal);
        if (!object)
            return refusal;
        request.object = *named == NamedKind::Group
                             ? object->group + QStringLiteral("  (") + object->course + u')'
                             : object->canonical;
        if (*named == NamedKind::Group)
            request.objectKey = object->key;
    }

    ReportMaker maker(session, settings.store(), settings.record(), prompts,
                      AppPaths::standard().applicationFolder);
    const std::optional<ReportContent> content =
        maker.make(request);
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

const CommandSpec &reportCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("report"),
        {QStringLiteral("ФАЙЛ"), QStringLiteral("НАЗВАНИЕ")},
        2,
        {
            {{QStringLiteral("object")},
             QStringLiteral("ИМЯ"),
             QStringLiteral("преподаватель, группа или аудитория отчёта")},
            {{QStringLiteral("from")},
             QStringLiteral("Д"),
             QStringLiteral("начало периода (по умолчанию - сегодня)")},
            {{QStringLiteral("to")}, QStringLiteral("Д"), QStringLiteral("конец периода")},
            {{QStringLiteral("out")},
             QStringLiteral("ДОКУМЕНТ"),
             QStringLiteral("файл отчёта: .pdf, .htm, .html (со структурой), .xhtm (по "
                            "страницам), .rtf, .txt"),
             false,
             Completion::File},
            setOption(),
        },
        QStringLiteral("записать отчёт (расписание преподавателя, группы, аудитории и др.) в "
                       "PDF, HTML, RTF или текст"),
        QStringLiteral("  НАЗВАНИЕ: \"РАСПИСАНИЕ ПРЕПОДАВАТЕЛЯ\", \"РАСПИСАНИЕ ГРУППЫ\", "
                       "\"РАСПИСАНИЕ АУДИТОРИИ\"\n  (--object и период), \"ЗАНЯТОСТЬ "
                       "ПРЕПОДАВАТЕЛЯ\", \"ПАСПОРТ ГРУППЫ\" (--object), \"СПИСОК ГРУПП\",\n"
                       "  \"СПИСОК ДИСЦИПЛИН\", \"НАГРУЗКА\"."),
        {{Completion::Document, {}}, {Completion::Words, reportNames()}},
    };
    return spec;
}

int runReportCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    ReportOptions o;
    return runCommand(
        reportCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return reportCommand(o, out, err); });
}

} // namespace korvesta
