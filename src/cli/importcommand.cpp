#include "importcommand.h"

#include "commandline.h"
#include "records.h"

#include "import/tableimport.h"
#include "import/xlsxsheet.h"

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
    RecordFormat format = RecordFormat::Text;
    CommandSettings::Values sets;
};

const QStringList &kindWords()
{
    static const QStringList words = {QStringLiteral("groups"), QStringLiteral("tutors"),
                                      QStringLiteral("disciplines"),
                                      QStringLiteral("auditoriums"), QStringLiteral("load")};
    return words;
}

const QStringList &encodingWords()
{
    static const QStringList words = {QStringLiteral("auto"), QStringLiteral("utf-8"),
                                      QStringLiteral("windows-1251")};
    return words;
}

void readOptions(CommandLine &line, ImportCommandOptions &o)
{
    o.path = line.arguments().value(0);
    o.source = line.arguments().value(1);
    if (const std::optional<int> kind = line.choice(QStringLiteral("kind")))
        o.kind = importKindFromName(kindWords().value(*kind));
    o.sheet = line.value(QStringLiteral("sheet"));
    const int encoding = line.choice(QStringLiteral("encoding")).value_or(0);
    o.encoding = encoding == 1   ? CsvEncoding::Utf8
                 : encoding == 2 ? CsvEncoding::Windows1251
                                 : CsvEncoding::Auto;
    o.import.dryRun = line.isSet(QStringLiteral("dry-run"));
    o.yes = line.isSet(QStringLiteral("yes"));
    o.import.createMissing = line.isSet(QStringLiteral("create-missing"));
    o.reportPath = line.value(QStringLiteral("out"));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    o.sets = settingValues(line);
    for (const QString &map : line.values(QStringLiteral("map"))) {
        const int eq = int(map.indexOf(u'='));
        if (eq <= 0)
            line.fail(QStringLiteral("--map: нужно ПОЛЕ=СТОЛБЕЦ (hours=F), а не «%1»").arg(map));
        else
            o.maps.emplace_back(map.left(eq), map.mid(eq + 1));
    }
    if (line.error().isEmpty() && !o.kind)
        line.fail(QStringLiteral("Не указано, что импортировать (--kind)"));
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
        return ExitUnreadable;
    }
    err << QStringLiteral("Прочитано: ") << table.source << QStringLiteral(", строк: ")
        << table.rows.size() << Qt::endl;
    CommandSettings run(o.sets);
    if (!run.usable()) {
        err << CommandSettings::unusableText() << Qt::endl;
        return ExitRefused;
    }
    const QStringList headers = sheetHeaders(table);
    ColumnMapping mapping = matchColumns(*o.kind, headers);
    for (const auto &[key, value] : o.maps) {
        if (importFieldIndex(*o.kind, key) < 0) {
            err << QStringLiteral("Нет поля «%1» у вида %2").arg(key, importKindName(*o.kind))
                << Qt::endl;
            return ExitUsage;
        }
        const std::optional<int> column = mappedColumn(headers, value);
        if (!column) {
            err << QStringLiteral("--map: в таблице нет столбца «%1»").arg(value) << Qt::endl;
            return ExitUsage;
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
    if (o.format == RecordFormat::Text) {
        out << text;
    } else {
        Records rows;
        rows.fields = {QStringLiteral("row"), QStringLiteral("added"), QStringLiteral("text")};
        rows.headers = {QStringLiteral("Строка"), QStringLiteral("Добавлено"),
                        QStringLiteral("Сообщение")};
        for (const ImportRowResult &row : report->rows)
            rows.rows.push_back({row.number,
                                 o.format == RecordFormat::Json
                                     ? QVariant(row.added)
                                     : QVariant(row.added ? QStringLiteral("добавлено")
                                                          : QStringLiteral("пропущено")),
                                 row.text});
        rows.write(o.format, out);
    }
    out.flush();
    if (!o.reportPath.isEmpty()) {
        QFile file(o.reportPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(text.toUtf8()) < 0) {
            err << QStringLiteral("Отчёт не записан в «%1»").arg(o.reportPath) << Qt::endl;
        }
    }
    if (!report->refusal.isEmpty()) {
        if (o.format != RecordFormat::Text)
            err << report->refusal << Qt::endl;
        return ExitRefused;
    }
    if (o.import.dryRun)
        err << QStringLiteral("Пробный запуск: документ не изменён") << Qt::endl;
    else if (!report->written && report->added > 0 && prompts.refused())
        err << QStringLiteral("Ответ «нет»: ничего не добавлено. Чтобы добавить прошедшие "
                              "проверку строки, добавьте --yes")
            << Qt::endl;
    return report->skipped == 0 && (report->written || o.import.dryRun) ? 0 : 1;
}

} // namespace

const CommandSpec &importCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("import"),
        {QStringLiteral("ФАЙЛ"), QStringLiteral("ИСТОЧНИК")},
        2,
        {
            {{QStringLiteral("kind")},
             QStringLiteral("СПИСОК"),
             QStringLiteral("что импортировать: groups, tutors, disciplines, auditoriums или "
                            "load (нагрузку)"),
             false,
             Completion::Words,
             kindWords()},
            {{QStringLiteral("sheet")}, QStringLiteral("ЛИСТ"), QStringLiteral("лист книги .xlsx")},
            {{QStringLiteral("encoding")},
             QStringLiteral("КОДИРОВКА"),
             QStringLiteral("кодировка CSV: auto (по умолчанию), utf-8 или windows-1251"),
             false,
             Completion::Words,
             encodingWords()},
            {{QStringLiteral("map")},
             QStringLiteral("ПОЛЕ=СТОЛБЕЦ"),
             QStringLiteral("столбец поля (course, group, tutor, discipline, hours, ...) по "
                            "названию или букве (hours=F)"),
             true},
            {{QStringLiteral("create-missing")},
             QString(),
             QStringLiteral("при импорте нагрузки добавить в списки недостающих "
                            "преподавателей, дисциплины и группы")},
            {{QStringLiteral("yes")},
             QString(),
             QStringLiteral("добавить прошедшие проверку строки, когда часть строк пропущена")},
            dryRunOption(),
            {{QStringLiteral("out"), QStringLiteral("report")},
             QStringLiteral("ОТЧЁТ.txt"),
             QStringLiteral("записать отчёт по строкам и в этот файл"),
             false,
             Completion::File},
            formatOption(),
            setOption(),
        },
        QStringLiteral("импорт списка или нагрузки из таблицы .xlsx или .csv"),
        QStringLiteral("  Добавляет строки таблицы с проверками ручного ввода; первая строка - "
                       "названия\n  столбцов. Всё добавляется одним шагом; если часть строк не "
                       "прошла проверку,\n  остальные добавляются только с --yes. CSV: UTF-8 "
                       "или Windows-1251, разделитель ; или ,.\n  Пределы: файл до 256 МБ, до "
                       "100 000 строк и 256 столбцов, ячейка до 32 767 знаков.\n  Код выхода: 0 "
                       "- добавлены все строки, 1 - часть строк пропущена или ничего не\n  "
                       "записано, 3 - файл таблицы или документ не прочитан."),
    };
    return spec;
}

int runImportCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    ImportCommandOptions o;
    return runCommand(
        importCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return importFile(o, out, err); });
}

} // namespace korvesta
