#include "cliview.h"

#include "editing/commandrun.h"

#include "cli.h"
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
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

// A little more than the grid of a maximised window on a 1280-pixel screen.
constexpr int DefaultWidthTwips = 15000;

struct ViewOptions
{
    QString path;
    int code = -1;
    QDate date = QDate::currentDate();
    bool dateGiven = false;
    QDate from;
    QDate to;
    QString object;
    int width = DefaultWidthTwips;
    QList<std::pair<QString, QString>> sets; // "SECTION/KEY" = value
    QString filter;                          // an entry of the view's filter menu
    bool html = false;
};

QDate dateArgument(const QString &text)
{
    return parseMoment(text).date();
}

// Reads the options; an empty result text means they are usable, otherwise it says what is
// wrong.
QString parseOptions(const QStringList &args, ViewOptions &options)
{
    if (args.size() < 2)
        return QStringLiteral("Укажите файл документа и код вида");
    options.path = args[0];
    bool ok = false;
    options.code = args[1].toInt(&ok);
    if (!ok || !ViewTable::find(options.code))
        return QStringLiteral("Неизвестный код вида: %1").arg(args[1]);
    for (int i = 2; i < args.size(); ++i) {
        const QString &name = args[i];
        if (i + 1 >= args.size())
            return QStringLiteral("Не задано значение для %1").arg(name);
        const QString value = args[++i];
        if (name == u"--date" || name == u"--from" || name == u"--to") {
            const QDate date = dateArgument(value);
            if (!date.isValid())
                return QStringLiteral("Неверная дата: %1 (нужно дд.мм.гггг или гггг-мм-дд)")
                    .arg(value);
            (name == u"--date" ? options.date : name == u"--from" ? options.from : options.to) =
                date;
            options.dateGiven = options.dateGiven || name == u"--date";
        } else if (name == u"--object") {
            options.object = value;
        } else if (name == u"--width") {
            options.width = value.toInt(&ok);
            if (!ok || options.width <= 0)
                return QStringLiteral("Ширина задаётся в твипах, целым числом больше 0: %1")
                    .arg(value);
        } else if (name == u"--set") {
            const int eq = int(value.indexOf(u'='));
            const int slash = int(value.left(eq).indexOf(u'/'));
            if (eq <= 0 || slash <= 0 || slash == eq - 1)
                return QStringLiteral("Настройка задаётся как РАЗДЕЛ/КЛЮЧ=ЗНАЧЕНИЕ: %1").arg(value);
            options.sets.append({value.left(eq), value.mid(eq + 1)});
        } else if (name == u"--filter") {
            options.filter = value;
        } else if (name == u"--format") {
            if (value != u"tsv" && value != u"html")
                return QStringLiteral("Формат вывода - tsv или html: %1").arg(value);
            options.html = value == u"html";
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(name);
        }
    }
    // The busy time shows a month: that of the period's start when no date is given.
    if (!options.dateGiven && options.from.isValid() && options.code == 43)
        options.date = options.from;
    if (!options.from.isValid())
        options.from = options.date;
    if (!options.to.isValid())
        options.to = options.from;
    if (options.to < options.from)
        return QStringLiteral("Начало периода позже его конца");
    return QString();
}

// The user's settings, copied so that --set changes this run only and nothing a fill writes
// reaches the user's file.
bool copyUserSettings(const QString &to)
{
    const SettingsStore user;
    const QString from = user.fileName();
    return !QFileInfo::exists(from) || QFile::copy(from, to);
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

    QTemporaryDir scratch;
    const QString iniPath = scratch.filePath(QStringLiteral("settings.ini"));
    if (!scratch.isValid() || !copyUserSettings(iniPath)) {
        err << QStringLiteral("Не удалось прочитать настройки программы") << Qt::endl;
        return 1;
    }
    SettingsStore settings(iniPath);
    for (const auto &[key, value] : options.sets) {
        const int slash = int(key.indexOf(u'/'));
        settings.write(key.left(slash), key.mid(slash + 1), value);
    }
    SettingsRecord record;
    record.load(settings);

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

int viewCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    ViewOptions options;
    if (const QString problem = parseOptions(args, options); !problem.isEmpty()) {
        err << problem << Qt::endl << QStringLiteral("Справка: korvesta help") << Qt::endl;
        return 2;
    }
    return fillAndUse(options, err, [&](const FilledView &view) {
        out << (options.html ? gridToHtml(view.grid) : gridToTsv(view.grid));
        out.flush();
        return 0;
    });
}

} // namespace

int withFilledView(const QStringList &args, QTextStream &err,
                   const std::function<int(const FilledView &)> &use)
{
    ViewOptions options;
    if (const QString problem = parseOptions(args, options); !problem.isEmpty()) {
        err << problem << Qt::endl << QStringLiteral("Справка: korvesta help") << Qt::endl;
        return 2;
    }
    return fillAndUse(options, err, use);
}

int runViewCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    // The fills tell of their own failures; this catches what nothing else did.
    try {
        return viewCommand(args, out, err);
    } catch (const std::exception &error) {
        err << QStringLiteral("Вид не показан: внутренняя ошибка программы") << Qt::endl
            << QString::fromLocal8Bit(error.what()) << Qt::endl;
    } catch (...) {
        err << QStringLiteral("Вид не показан: внутренняя ошибка программы") << Qt::endl;
    }
    return 1;
}

} // namespace korvesta
