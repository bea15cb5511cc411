#include "exportcommand.h"

#include "commandline.h"

#include "viewcommand.h"
#include "editing/commandrun.h"
#include "export/exportformat.h"
#include "export/xlsxexport.h"
#include "options/optionssession.h"
#include "settings/settingsrecord.h"

#include <QDir>

namespace korvesta {

namespace {

struct ExportOptions
{
    QString out;
    ViewOptions view;
};

QStringList exportedCodeWords()
{
    QStringList codes;
    for (const int c : exportedViewCodes())
        codes << QString::number(c);
    return codes;
}

void readOptions(CommandLine &line, ExportOptions &o)
{
    readViewOptions(line, o.view);
    // The table file as --out, or as the third argument.
    const QString given = line.arguments().value(2);
    o.out = line.isSet(QStringLiteral("out")) ? line.value(QStringLiteral("out")) : given;
    if (line.isSet(QStringLiteral("out")) && !given.isEmpty())
        line.fail(QStringLiteral("Файл таблицы указан дважды: %1 и --out").arg(given));
    else if (o.out.isEmpty())
        line.fail(QStringLiteral("Не указан файл таблицы (--out)"));
    else if (o.view.code >= 0 && !exportFormat(o.view.code))
        line.fail(QStringLiteral("Вид %1 не выгружается в MS Excel; выгружаются виды %2")
                      .arg(o.view.code)
                      .arg(exportedCodeWords().join(QStringLiteral(", "))));
}

int run(const ExportOptions &options, QTextStream &out, QTextStream &err)
{
    return withFilledView(options.view, err, [&](const FilledView &view) {
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

const CommandSpec &exportCommandSpec()
{
    static const CommandSpec spec = [] {
        CommandSpec s{
            QStringLiteral("export"),
            {QStringLiteral("ФАЙЛ"), QStringLiteral("КОД"), QStringLiteral("ТАБЛИЦА.xlsx")},
            2,
            viewOptionSpecs(),
            QStringLiteral("записать таблицу вида в файл MS Excel, как окно"),
            QStringLiteral("  Заполняет вид, как korvesta view, и записывает его таблицу с "
                           "листом, заголовками,\n  итогами-формулами и (при настройке "
                           "ExcelPrintPreview) параметрами страницы. Файл\n  появляется только "
                           "записанным целиком; имеющийся файл с тем же именем заменяется."),
            {{Completion::Document, {}},
             {Completion::Words, exportedCodeWords()},
             {Completion::File, {}}},
        };
        s.options.insert(s.options.begin(),
                         OptionSpec{{QStringLiteral("out")},
                                    QStringLiteral("ТАБЛИЦА.xlsx"),
                                    QStringLiteral("файл таблицы (или третьим аргументом)"),
                                    false,
                                    Completion::File});
        return s;
    }();
    return spec;
}

int runExportCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    ExportOptions o;
    return runCommand(
        exportCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return run(o, out, err); });
}

} // namespace korvesta
