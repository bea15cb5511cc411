#include "cliexport.h"

#include "cliview.h"
#include "editing/commandrun.h"
#include "export/exportformat.h"
#include "export/xlsxexport.h"
#include "options/optionssession.h"
#include "settings/settingsrecord.h"

#include <QDir>

namespace korvesta {

namespace {

const char *const exportUsage =
    "Использование:\n"
    "  korvesta export ФАЙЛ КОД ТАБЛИЦА.xlsx [--date Д] [--from Д --to Д] [--object ИМЯ]\n"
    "                  [--width ТВИПЫ] [--set РАЗДЕЛ/КЛЮЧ=ЗНАЧЕНИЕ ...] [--filter ПУНКТ]\n"
    "  Заполняет вид с кодом КОД, как korvesta view, и записывает его таблицу в файл MS Excel\n"
    "  с листом, заголовками, итогами-формулами и (при настройке ExcelPrintPreview)\n"
    "  параметрами страницы. Выгружаются виды 0, 2, 10, 20, 30, 33, 34, 35, 40, 41, 42.\n"
    "  Файл появляется только записанным целиком; имеющийся файл с тем же именем\n"
    "  заменяется.\n";

struct ExportOptions
{
    QString out;
    QStringList viewArgs; // FILE CODE and the view's options
};

QString parseOptions(const QStringList &args, ExportOptions &options)
{
    if (args.size() < 3)
        return QStringLiteral("Укажите файл документа, код вида и файл таблицы");
    bool ok = false;
    const int code = args[1].toInt(&ok);
    if (!ok)
        return QStringLiteral("Неизвестный код вида: %1").arg(args[1]);
    if (!exportFormat(code)) {
        QStringList codes;
        for (const int c : exportedViewCodes())
            codes << QString::number(c);
        return QStringLiteral("Вид %1 не выгружается в MS Excel; выгружаются виды %2")
            .arg(code)
            .arg(codes.join(QStringLiteral(", ")));
    }
    options.out = args[2];
    if (options.out.startsWith(QLatin1String("--")))
        return QStringLiteral("Не указан файл таблицы");
    options.viewArgs = args.mid(0, 2) + args.mid(3);
    return QString();
}

int run(const ExportOptions &options, QTextStream &out, QTextStream &err)
{
    return withFilledView(options.viewArgs, err, [&](const FilledView &view) {
        ExportRequest request;
        request.grid = &view.grid;
        request.viewCode = view.code;
        request.subject.object = view.object;
        request.subject.date = view.date;
        request.subject.from = view.from;
        request.subject.to = view.to;
        request.subject.workDays = view.record.WorkDays;
        request.settings = &view.record;
        request.userName = loginName();
        request.colours = exportColors(view.settings);
        const ExportResult result = exportView(request, options.out);
        if (result.outcome != ExportResult::Written) {
            err << result.message << Qt::endl;
            return 1;
        }
        out << QStringLiteral("Таблица записана: %1").arg(QDir::toNativeSeparators(options.out))
            << Qt::endl;
        return 0;
    });
}

} // namespace

int runExportCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<ExportOptions>(args, out, err, exportUsage, parseOptions, run);
}

} // namespace korvesta
