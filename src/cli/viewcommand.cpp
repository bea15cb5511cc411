#include "viewcommand.h"

#include "commandline.h"
#include "records.h"

#include "editing/commandrun.h"
#include "editing/commandsettings.h"
#include "editing/consoleprompts.h"
#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "grid/gridmodel.h"
#include "grid/gridtext.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"
#include "views/fillregistry.h"
#include "views/headlessviews.h"
#include "views/viewtable.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

// A little more than the grid of a maximised window on a 1280-pixel screen.
constexpr int DefaultWidthTwips = 15000;

// A grid as json: an array of objects, one a row below the first, keyed by the first row's
// texts (a column without a heading, or with a heading met before, by its number).
QString gridToJson(const GridModel &grid)
{
    QStringList lines = gridToTsv(grid).split(u'\n');
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    const QStringList heads = lines.value(0).split(u'\t');
    QStringList keys;
    for (int i = 0; i < heads.size(); ++i) {
        const QString head = heads[i].trimmed();
        keys << (head.isEmpty() || keys.contains(head) ? QStringLiteral("column %1").arg(i + 1)
                                                       : head);
    }
    QJsonArray rows;
    for (int r = 1; r < lines.size(); ++r) {
        const QStringList cells = lines[r].split(u'\t');
        QJsonObject row;
        for (int i = 0; i < keys.size(); ++i)
            row.insert(keys[i], cells.value(i));
        rows.append(row);
    }
    return QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Indented));
}

// Whether the view's filter menu offers the entry; says what it offers when not.
bool filterOffered(HeadlessViews &views, const ViewOptions &options, QTextStream &err)
{
    FillRegistry fills;
    registerViewFills(fills);
    const FillRegistry::Routines *routines = fills.find(options.code);
    if (!routines || !routines->filterEntries) {
        err << QStringLiteral("У вида %1 нет фильтра").arg(options.code) << Qt::endl;
        return false;
    }
    ViewContext ctx = views.context();
    QStringList entries{QStringLiteral("Все")};
    entries += routines->filterEntries(ctx);
    entries.removeAll(QStringLiteral("-"));
    if (entries.contains(options.filter))
        return true;
    err << QStringLiteral("В меню фильтра вида %1 нет «%2»; есть: %3")
               .arg(options.code)
               .arg(options.filter, entries.join(QStringLiteral(", ")))
        << Qt::endl;
    return false;
}

// Fills the view the options name and hands it to `use`; the exit code is use's, or that of
// the failure told to err.
int fillAndUse(const ViewOptions &options, QTextStream &err,
               const std::function<int(const FilledView &)> &use)
{
    if (!documentFileGiven(options.path, err))
        return ExitUnreadable;

    CommandSettings run(options.sets);
    if (!run.usable()) {
        err << CommandSettings::unusableText() << Qt::endl;
        return 1;
    }
    SettingsStore &settings = run.store();
    SettingsRecord &record = run.record();

    ConsolePrompts prompts(err);
    DocumentSession session(prompts, settings, AppPaths::standard());
    session.setReadingOnly(true);
    session.startFromCommandLine({options.path});
    if (!session.access()) {
        // The reason has been printed; a script reading many documents learns which one.
        err << QStringLiteral("Документ «%1» не открыт").arg(options.path) << Qt::endl;
        return ExitUnreadable;
    }

    GridModel grid;
    grid.setClientWidth(options.width);
    HeadlessViews views(grid, session, settings, record, prompts);
    views.date = options.date;
    views.from = options.from;
    views.to = options.to;
    if (!options.filter.isEmpty() && !filterOffered(views, options, err))
        return 2;
    views.filter = options.filter;
    // A read says nothing when all is well: whatever was said (a document of another layout,
    // a query that failed) means the grid is not the view asked for.
    const auto failed = [&](bool filled) {
        if (filled && !prompts.hasSpoken())
            return false;
        err << QStringLiteral("Вид %1 не показан: документ «%2» не удалось прочитать")
                   .arg(options.code)
                   .arg(options.path)
            << Qt::endl;
        return true;
    };
    if (failed(views.show(options.code)))
        return 1;

    QString object; // as the list names it, whatever the letter case it was asked by
    if (!options.object.isEmpty()) {
        const std::vector<ObjectListEntry> &entries = views.objects().entries;
        // Groups, tutors and auditoriums are named as every command names them; the entry
        // of the view's list is then the one of the object's key.
        const QString icon = entries.empty() ? QString() : entries.front().icon;
        std::optional<NamedKind> kind;
        if (icon == u"GROUP")
            kind = NamedKind::Group;
        else if (icon == u"TUTOR")
            kind = NamedKind::Tutor;
        else if (icon == u"AUDITORIA")
            kind = NamedKind::Auditorium;
        std::optional<int> key;
        if (kind) {
            int refusal = ExitRefused;
            const std::optional<Database> db = session.access();
            const std::optional<NamedObject> named =
                db ? objectOfOption(*db, *kind, QStringLiteral("--object"), options.object, err,
                                    refusal)
                   : std::nullopt;
            if (!named)
                return db ? refusal : ExitUnreadable;
            key = named->key;
        }
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [&](const ObjectListEntry &e) {
                                            return key ? e.recordKey() == QString::number(*key)
                                                       : e.text().compare(options.object,
                                                                          Qt::CaseInsensitive)
                                                             == 0;
                                        });
        if (entry == entries.end()) {
            err << QStringLiteral("В списке объектов вида нет «%1»").arg(options.object)
                << Qt::endl;
            return 1;
        }
        if (failed(views.chooseObject(*entry) != FillResult::Failed))
            return 1;
        object = entry->text();
    }

    return use(FilledView{grid, options.code, object, views.date, options.from, options.to,
                          record, settings});
}

int viewCommand(const ViewOptions &options, RecordFormat format, bool html, QTextStream &out,
                QTextStream &err)
{
    return fillAndUse(options, err, [&](const FilledView &view) {
        out << (html                            ? gridToHtml(view.grid)
                : format == RecordFormat::Json ? gridToJson(view.grid)
                                               : gridToTsv(view.grid));
        out.flush();
        return 0;
    });
}

} // namespace

std::vector<OptionSpec> viewOptionSpecs()
{
    return {
        {{QStringLiteral("date")},
         QStringLiteral("Д"),
         QStringLiteral("дата вида (по умолчанию - сегодня)")},
        {{QStringLiteral("from")},
         QStringLiteral("Д"),
         QStringLiteral("начало периода табеля и отработки (33, 34, 35); занятость (43) - за "
                        "месяц даты --date или --from")},
        {{QStringLiteral("to")}, QStringLiteral("Д"), QStringLiteral("конец периода")},
        {{QStringLiteral("object")},
         QStringLiteral("ИМЯ"),
         QStringLiteral("объект из списка вида: группа, преподаватель, аудитория ..."),
         false},
        {{QStringLiteral("width")},
         QStringLiteral("ТВИПЫ"),
         QStringLiteral("ширина таблицы (по умолчанию 15000)")},
        setOption(),
        {{QStringLiteral("filter")},
         QStringLiteral("ПУНКТ"),
         QStringLiteral("пункт меню фильтра вида")},
    };
}

void readViewOptions(CommandLine &line, ViewOptions &o)
{
    o.path = line.arguments().value(0);
    bool ok = false;
    o.code = line.arguments().value(1).toInt(&ok);
    if (!ok || !ViewTable::find(o.code)) {
        line.fail(QStringLiteral("Неизвестный код вида: %1").arg(line.arguments().value(1)));
        return;
    }
    const std::optional<QDate> date = line.date(QStringLiteral("date"));
    o.date = date.value_or(QDate::currentDate());
    o.from = line.date(QStringLiteral("from")).value_or(QDate());
    o.to = line.date(QStringLiteral("to")).value_or(QDate());
    o.object = line.value(QStringLiteral("object"));
    o.width = line.number(QStringLiteral("width"), 1, 1000000).value_or(DefaultWidthTwips);
    o.sets = settingValues(line);
    o.filter = line.value(QStringLiteral("filter"));
    // The busy time shows a month: that of the period's start when no date is given.
    if (!date && o.from.isValid() && o.code == 43)
        o.date = o.from;
    if (!o.from.isValid())
        o.from = o.date;
    if (!o.to.isValid())
        o.to = o.from;
    if (o.to < o.from)
        line.fail(QStringLiteral("Начало периода позже его конца"));
}

QStringList viewCodeWords()
{
    QStringList codes;
    for (int section = 0; section < ViewTable::SectionCount; ++section) {
        for (const ViewEntry &view : ViewTable::items(section))
            codes << QString::number(view.code());
    }
    return codes;
}

const CommandSpec &viewCommandSpec()
{
    static const CommandSpec spec = [] {
        CommandSpec s{
            QStringLiteral("view"),
            {QStringLiteral("ФАЙЛ"), QStringLiteral("КОД")},
            2,
            viewOptionSpecs(),
            QStringLiteral("заполнить вид с кодом КОД, как это делает окно, и вывести его "
                           "таблицу"),
            QStringLiteral("  text и tsv - строка таблицы на строку, ячейки через табуляцию; "
                           "json - массив\n  объектов по заголовкам первой строки; html - "
                           "таблица с объединениями и цветами.\n  --set меняет настройку только "
                           "на этот запуск."),
            {{Completion::Document, {}}, {Completion::Words, viewCodeWords()}},
        };
        s.options.push_back(formatOption({QStringLiteral("html")}));
        return s;
    }();
    return spec;
}

int withFilledView(const ViewOptions &options, QTextStream &err,
                   const std::function<int(const FilledView &)> &use)
{
    return fillAndUse(options, err, use);
}

int runViewCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    ViewOptions options;
    RecordFormat format = RecordFormat::Text;
    bool html = false;
    return runCommand(
        viewCommandSpec(), args, out, err,
        [&](CommandLine &line) {
            readViewOptions(line, options);
            const int f = line.choice(QStringLiteral("format")).value_or(0);
            html = f == 3;
            format = html ? RecordFormat::Text : RecordFormat(f);
        },
        [&] { return viewCommand(options, format, html, out, err); });
}

} // namespace korvesta
