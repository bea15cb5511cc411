#include "clifree.h"

#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/queries.h"
#include "editing/commandrun.h"
#include "editing/commandsettings.h"
#include "editing/consoleprompts.h"
#include "views/freebusy/freebusylist.h"

#include "editing/exitcode.h"

namespace korvesta {

namespace {

const char *const freeUsage =
    "Использование:\n"
    "  korvesta free ФАЙЛ --date Д --lesson N [--kind groups|disciplines|auditoriums|tutors]\n"
    "  Выводит группы, дисциплины, аудитории или преподавателей (по умолчанию -\n"
    "  преподавателей) с их состоянием на урок N даты Д: строки через табуляцию, первая -\n"
    "  заголовки, последний столбец - «свободен» или «занят». Урок 0 - первый урок. Группы\n"
    "  факультетов, скрытых в настройках программы, не выводятся.\n";

struct FreeOptions
{
    QString path;
    QDate date;
    int lesson = -1;
    freebusy::Kind kind = freebusy::Kind::Tutors;
};

QString parse(const QStringList &args, FreeOptions &options)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == u"--date" && hasValue) {
            options.date = parseMoment(args[++i]).date();
            if (!options.date.isValid())
                return QStringLiteral("Неверная дата: %1 (нужно дд.мм.гггг или гггг-мм-дд)")
                    .arg(args[i]);
        } else if (a == u"--lesson" && hasValue) {
            bool ok = false;
            options.lesson = args[++i].toInt(&ok);
            if (!ok || options.lesson < 0)
                return QStringLiteral("Номер урока - целое число от 0: %1").arg(args[i]);
        } else if (a == u"--kind" && hasValue) {
            const std::optional<freebusy::Kind> kind = freebusy::kindNamed(args[++i]);
            if (!kind)
                return QStringLiteral("Вид объектов - groups, disciplines, auditoriums или "
                                      "tutors: %1")
                    .arg(args[i]);
            options.kind = *kind;
        } else if (options.path.isEmpty() && !a.startsWith(QStringLiteral("--"))) {
            options.path = a;
        } else {
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        }
    }
    if (options.path.isEmpty() || !options.date.isValid() || options.lesson < 0)
        return QStringLiteral("Укажите файл документа, дату (--date) и урок (--lesson)");
    return QString();
}

QString stateText(freebusy::Kind kind, bool free)
{
    if (kind == freebusy::Kind::Tutors)
        return free ? QStringLiteral("свободен") : QStringLiteral("занят");
    return free ? QStringLiteral("свободна") : QStringLiteral("занята");
}

// Tabs and line breaks inside a name would break the row apart.
QString field(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
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
    if (!session.access())
        return ExitUnreadable;
    DocumentQueries queries(session, settings.store(), prompts);
    const std::optional<freebusy::List> list =
        freebusy::read(queries, settings.store(), options.kind, options.lesson, options.date);
    if (!list || prompts.hasSpoken()) {
        err << QStringLiteral("Документ «%1» не удалось прочитать").arg(options.path) << Qt::endl;
        return 1;
    }
    out << list->headers.join(QLatin1Char('\t')) << QStringLiteral("\tСостояние\n");
    for (const freebusy::Item &item : list->items) {
        out << field(item.name);
        if (list->headers.size() > 1)
            out << QLatin1Char('\t') << field(item.detail);
        out << QLatin1Char('\t') << stateText(options.kind, item.free) << QLatin1Char('\n');
    }
    return 0;
}

} // namespace

int runFreeCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<FreeOptions>(args, out, err, freeUsage, parse, run);
}

} // namespace korvesta
