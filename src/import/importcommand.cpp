#include "importcommand.h"

#include "tableimport.h"
#include "xlsxsheet.h"

#include "data/apppaths.h"
#include "data/documentsession.h"
#include "editing/commandrun.h"
#include "editing/commandsettings.h"
#include "editing/consoleprompts.h"
#include "editing/documentchange.h"

#include <QFile>
#include <QRegularExpression>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

const char *const importUsage =
    "Использование:\n"
    "  korvesta import ФАЙЛ ИСТОЧНИК.xlsx|.csv --kind groups|tutors|disciplines|auditoriums|load\n"
    "                  [--sheet ЛИСТ] [--encoding utf-8|windows-1251] [--dry-run] [--yes]\n"
    "                  [--create-missing]\n"
    "                  [--map ПОЛЕ=СТОЛБЕЦ ...] [--report ОТЧЁТ.txt] [--set КЛЮЧ=ЗНАЧЕНИЕ ...]\n"
    "  Добавляет строки таблицы в список или в нагрузку с проверками ручного ввода; первая\n"
    "  строка таблицы - названия столбцов. Всё добавляется одним шагом (его можно отменить в\n"
    "  окне); если часть строк не прошла проверку, остальные добавляются только с --yes.\n"
    "  --create-missing: при импорте нагрузки добавить в списки недостающих преподавателей,\n"
    "  дисциплины и группы. --map: столбец поля (course, group, tutor, discipline, hours, ...)\n"
    "  по названию или букве (--map hours=F). CSV: UTF-8 или Windows-1251, разделитель ; или ,\n"
    "  (файл не в UTF-8 читается как Windows-1251, только если он читается русским текстом;\n"
    "  --encoding задаёт кодировку явно). Пределы: файл или часть книги до 256 МБ, до 100 000\n"
    "  строк и 256 столбцов, ячейка до 32 767 знаков.\n"
    "  Код выхода: 0 - добавлены все строки, 1 - часть строк пропущена или ничего не записано,\n"
    "  2 - файл или документ не прочитан.\n";

struct ImportCommandOptions
{
    QString path;
    QString source;
    std::optional<ImportKind> kind;
    QString sheet;
    CsvEncoding encoding = CsvEncoding::Auto;
    bool yes = false;
    ImportOptions import;
    std::vector<std::pair<QString, QString>> maps;
    QString reportPath;
    CommandSettings::Values sets;
};

QString parseOptions(const QStringList &args, ImportCommandOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!a.startsWith(QStringLiteral("--"))) {
            if (o.path.isEmpty())
                o.path = a;
            else if (o.source.isEmpty())
                o.source = a;
            else
                return QStringLiteral("Лишний аргумент: %1").arg(a);
            continue;
        }
        if (a == u"--dry-run" || a == u"--yes" || a == u"--create-missing") {
            (a == u"--dry-run" ? o.import.dryRun
                               : a == u"--yes" ? o.yes : o.import.createMissing) = true;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("Не задано значение для %1").arg(a);
        const QString value = args[++i];
        if (a == u"--kind") {
            o.kind = importKindFromName(value);
            if (!o.kind)
                return QStringLiteral("Вид импорта - groups, tutors, disciplines, auditoriums "
                                      "или load: %1")
                    .arg(value);
        } else if (a == u"--sheet") {
            o.sheet = value;
        } else if (a == u"--encoding") {
            const QString name = value.toLower();
            if (name == u"utf-8" || name == u"utf8")
                o.encoding = CsvEncoding::Utf8;
            else if (name == u"windows-1251" || name == u"cp1251")
                o.encoding = CsvEncoding::Windows1251;
            else if (name == u"auto")
                o.encoding = CsvEncoding::Auto;
            else
                return QStringLiteral("Кодировка - utf-8 или windows-1251: %1").arg(value);
        } else if (a == u"--report") {
            o.reportPath = value;
        } else if (a == u"--map" || a == u"--set") {
            const int eq = int(value.indexOf(u'='));
            if (eq <= 0)
                return QStringLiteral("%1 задаётся как ИМЯ=ЗНАЧЕНИЕ: %2").arg(a, value);
            (a == u"--map" ? o.maps : o.sets).emplace_back(value.left(eq), value.mid(eq + 1));
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        }
    }
    if (o.path.isEmpty() || o.source.isEmpty())
        return QStringLiteral("Укажите файл документа и файл с таблицей");
    if (!o.kind)
        return QStringLiteral("Укажите, что импортировать: --kind");
    return QString();
}

// The column a --map value names: a header of the sheet, or a column letter.
std::optional<int> mappedColumn(const QStringList &headers, const QString &value)
{
    if (value == u"-")
        return -1;
    for (qsizetype c = 0; c < headers.size(); ++c) {
        if (headerKey(headers[c]) == headerKey(value) && !headerKey(value).isEmpty())
            return int(c);
    }
    static const QRegularExpression letters(QStringLiteral("^[A-Za-z]{1,3}$"));
    if (letters.match(value).hasMatch())
        return columnOfReference(value);
    return std::nullopt;
}

int importFile(const ImportCommandOptions &o, QTextStream &out, QTextStream &err)
{
    if (!documentFileGiven(o.path, err))
        return ExitUnreadable;
    const SheetTable table = readSheetFile(o.source, o.sheet, o.encoding);
    if (!table.ok()) {
        err << table.error << Qt::endl;
        return 2;
    }
    err << QStringLiteral("Прочитано: ") << table.source << QStringLiteral(", строк: ")
        << table.rows.size() << Qt::endl;
    CommandSettings run(o.sets);
    if (!run.usable()) {
        err << CommandSettings::unusableText() << Qt::endl;
        return 2;
    }
    const QStringList headers = sheetHeaders(table);
    ColumnMapping mapping = matchColumns(*o.kind, headers);
    for (const auto &[key, value] : o.maps) {
        if (importFieldIndex(*o.kind, key) < 0) {
            err << QStringLiteral("Нет поля «%1» у вида %2").arg(key, importKindName(*o.kind))
                << Qt::endl;
            return 2;
        }
        const std::optional<int> column = mappedColumn(headers, value);
        if (!column) {
            err << QStringLiteral("В таблице нет столбца «%1»").arg(value) << Qt::endl;
            return 2;
        }
        mapping.set(key, *column);
    }
    const std::vector<ImportField> &fields = importFields(*o.kind);
    for (size_t f = 0; f < fields.size(); ++f) {
        const int column = mapping.columns[f];
        err << fields[f].caption << QStringLiteral(" <- ")
            << (column < 0 ? QStringLiteral("(нет)") : headers.value(column)) << Qt::endl;
    }

    ConsolePrompts prompts(err, o.yes);
    DocumentSession session(prompts, run.store(), AppPaths::standard());
    session.startFromCommandLine({o.path});
    std::optional<ImportReport> report = runDocumentChange<std::optional<ImportReport>>(
        session, prompts, std::nullopt, [&](const Database &db) {
            return importTable(db, run.record(), prompts, table, mapping, o.import);
        });
    if (!report)
        return ExitUnreadable;
    const QString text = report->text();
    out << text;
    out.flush();
    if (!o.reportPath.isEmpty()) {
        QFile file(o.reportPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(text.toUtf8()) < 0) {
            err << QStringLiteral("Отчёт не записан в «%1»").arg(o.reportPath) << Qt::endl;
        }
    }
    if (!report->refusal.isEmpty())
        return 2;
    if (o.import.dryRun)
        err << QStringLiteral("Пробный запуск: документ не изменён") << Qt::endl;
    else if (!report->written && report->added > 0 && prompts.refused())
        err << QStringLiteral("Ответ «нет»: ничего не добавлено. Чтобы добавить прошедшие "
                              "проверку строки, добавьте --yes")
            << Qt::endl;
    return report->skipped == 0 && (report->written || o.import.dryRun) ? 0 : 1;
}

} // namespace

int runImportCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<ImportCommandOptions>(args, out, err, importUsage, parseOptions,
                                               importFile);
}

} // namespace korvesta
