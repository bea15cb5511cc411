#include "freecommand.h"

#include "commandline.h"
#include "records.h"

#include "data/database.h"
#include "editing/objectnames.h"

#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/queries.h"
#include "editing/commandrun.h"
#include "editing/commandsettings.h"
#include "editing/consoleprompts.h"
#include "views/freebusy/freebusylist.h"

#include <QHash>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

struct FreeOptions
{
    QString path;
    QDate date;
    int lesson = 0;
    freebusy::Kind kind = freebusy::Kind::Tutors;
    RecordFormat format = RecordFormat::Text;
};

const QStringList &kindWords()
{
    static const QStringList words = {QStringLiteral("groups"), QStringLiteral("disciplines"),
                                      QStringLiteral("auditoriums"), QStringLiteral("tutors")};
    return words;
}

void readOptions(CommandLine &line, FreeOptions &o)
{
    o.path = line.arguments().value(0);
    o.date = line.date(QStringLiteral("date")).value_or(QDate());
    o.lesson = line.number(QStringLiteral("lesson"), 0, 99).value_or(-1);
    if (const std::optional<int> kind = line.choice(QStringLiteral("kind")))
        o.kind = *freebusy::kindNamed(kindWords().value(*kind));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    if (!o.date.isValid())
        line.fail(QStringLiteral("Не указана дата (--date)"));
    else if (o.lesson < 0)
        line.fail(QStringLiteral("Не указан урок (--lesson)"));
}

QString stateText(freebusy::Kind kind, bool free)
{
    if (kind == freebusy::Kind::Tutors)
        return free ? QStringLiteral("свободен") : QStringLiteral("занят");
    return free ? QStringLiteral("свободна") : QStringLiteral("занята");
}

// The kind of objects a list names, for their canonical names.
std::optional<NamedKind> namedKind(freebusy::Kind kind)
{
    switch (kind) {
    case freebusy::Kind::Groups:
        return NamedKind::Group;
    case freebusy::Kind::Auditoriums:
        return NamedKind::Auditorium;
    case freebusy::Kind::Tutors:
        return NamedKind::Tutor;
    case freebusy::Kind::Disciplines:
        return NamedKind::Discipline;
    }
    return std::nullopt;
}

int run(const FreeOptions &options, QTextStream &out, QTextStream &err)
{
    if (!documentFileGiven(options.path, err))
        return ExitUnreadable;
    CommandSettings settings;
    if (!settings.usable()) {
        err << CommandSettings::unusableText() << Qt::endl;
        return 1;
    }
    ConsolePrompts prompts(err);
    DocumentSession session(prompts, settings.store(), AppPaths::standard());
    session.setReadingOnly(true);
    session.startFromCommandLine({options.path});
    const std::optional<Database> db = session.access();
    if (!db)
        return ExitUnreadable;
    DocumentQueries queries(session, settings.store(), prompts);
    const std::optional<freebusy::List> list =
        freebusy::read(queries, settings.store(), options.kind, options.lesson, options.date);
    if (!list || prompts.hasSpoken()) {
        err << QStringLiteral("Документ «%1» не удалось прочитать").arg(options.path) << Qt::endl;
        return 1;
    }
    // Each object by the name every command takes back.
    QHash<int, QString> canonical;
    if (const std::optional<NamedKind> kind = namedKind(options.kind)) {
        for (const NamedObject &o : namedObjects(*db, *kind))
            canonical.insert(o.key, o.canonical);
    }
    const bool detailed = list->headers.size() > 1;
    Records records;
    records.fields = {QStringLiteral("name")};
    records.headers = {list->headers.value(0)};
    if (detailed) {
        records.fields << QStringLiteral("detail");
        records.headers << list->headers.value(1);
    }
    records.fields << QStringLiteral("free");
    records.headers << QStringLiteral("Состояние");
    for (const freebusy::Item &item : list->items) {
        QVariantList row{canonical.value(item.key, item.name)};
        if (detailed)
            row << item.detail;
        row << (options.format == RecordFormat::Json ? QVariant(item.free)
                                                     : QVariant(stateText(options.kind, item.free)));
        records.rows.push_back(row);
    }
    records.write(options.format, out);
    return 0;
}

} // namespace

const CommandSpec &freeCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("free"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            {{QStringLiteral("date")}, QStringLiteral("Д"), QStringLiteral("дата")},
            {{QStringLiteral("lesson")},
             QStringLiteral("N"),
             QStringLiteral("урок (0 - первый урок)")},
            {{QStringLiteral("kind")},
             QStringLiteral("СПИСОК"),
             QStringLiteral("groups, disciplines, auditoriums или tutors (по умолчанию)"),
             false,
             Completion::Words,
             kindWords()},
            formatOption(),
        },
        QStringLiteral("вывести, кто и что свободно или занято на уроке N даты Д"),
        QStringLiteral("  Группы, дисциплины, аудитории или преподаватели с их состоянием на "
                       "урок: последний\n  столбец - «свободен» или «занят» (в json - free: "
                       "true или false). Группы\n  факультетов, скрытых в настройках программы, "
                       "не выводятся."),
    };
    return spec;
}

int runFreeCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    FreeOptions o;
    return runCommand(
        freeCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return run(o, out, err); });
}

} // namespace korvesta
