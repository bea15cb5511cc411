#include "publishcommand.h"

#include "publisher.h"

#include "data/apppaths.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "editing/commandrun.h"
#include "editing/commandsettings.h"
#include "editing/consoleprompts.h"
#include "editing/progress.h"

#include <optional>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

const char *const publishUsage =
    "Использование:\n"
    "  korvesta publish ФАЙЛ ПАПКА [--from Д] [--to Д] [--force]\n"
    "  Публикует расписание за период (по умолчанию - за учебный период документа) в папку:\n"
    "  календарь iCalendar (.ics) и веб-страницу на каждую группу, каждого преподавателя и\n"
    "  каждую аудиторию, и оглавление index.html. Записываются только изменившиеся файлы;\n"
    "  занятия, убранные после прошлой публикации, приходят в календари отменёнными.\n"
    "  Файлы папки, которые записала не программа, не изменяются: публикация\n"
    "  отказывается и называет их; --force заменяет их файлами расписания.\n"
    "  Код выхода: 0 - опубликовано, 1 - не опубликовано, 2 - документ не прочитан.\n";

struct PublishOptions
{
    QString path, folder;
    QDate from, to;
    bool force = false;
};

QString parseOptions(const QStringList &args, PublishOptions &o)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!a.startsWith(QStringLiteral("--"))) {
            if (o.path.isEmpty())
                o.path = a;
            else if (o.folder.isEmpty())
                o.folder = a;
            else
                return QStringLiteral("Лишний аргумент: %1").arg(a);
            continue;
        }
        if (a == u"--force") {
            o.force = true;
            continue;
        }
        if (a != u"--from" && a != u"--to")
            return QStringLiteral("Непонятный аргумент: %1").arg(a);
        if (i + 1 >= args.size())
            return QStringLiteral("Не задано значение для %1").arg(a);
        const QString value = args[++i];
        const QDate date = parseMoment(value).date();
        if (!date.isValid())
            return QStringLiteral("Непонятная дата: %1").arg(value);
        (a == u"--from" ? o.from : o.to) = date;
    }
    if (o.path.isEmpty())
        return QStringLiteral("Укажите файл документа");
    if (o.folder.isEmpty())
        return QStringLiteral("Укажите папку, в которую публиковать расписание");
    if (o.from.isValid() && o.to.isValid() && o.from > o.to)
        return QStringLiteral("Начало периода (%1) позже его конца (%2)")
            .arg(o.from.toString(QStringLiteral("dd.MM.yyyy")),
                 o.to.toString(QStringLiteral("dd.MM.yyyy")));
    return QString();
}

int publish(const PublishOptions &o, QTextStream &out, QTextStream &err)
{
    if (!documentFileGiven(o.path, err))
        return ExitUnreadable;
    CommandSettings run;
    if (!run.usable()) {
        err << CommandSettings::unusableText() << Qt::endl;
        return 2;
    }
    ConsolePrompts prompts(err);
    DocumentSession session(prompts, run.store(), AppPaths::standard());
    session.setReadingOnly(true);
    session.startFromCommandLine({o.path});
    const std::optional<Database> db = session.access();
    if (!db)
        return ExitUnreadable;
    PublishResult result;
    try {
        PublishRequest request;
        request.folder = o.folder;
        request.today = QDate::currentDate();
        request.now = QDateTime::currentDateTimeUtc();
        request.zone = QTimeZone::systemTimeZone();
        request.workDays = run.record().WorkDays;
        request.replaceForeign = o.force;
        const auto [start, end] = defaultPublishPeriod(*db, request.today);
        request.from = o.from.isValid() ? o.from : start;
        request.to = o.to.isValid() ? o.to : end;
        if (request.from > request.to) {
            err << QStringLiteral("Начало периода (%1) позже его конца (%2)")
                       .arg(request.from.toString(QStringLiteral("dd.MM.yyyy")),
                            request.to.toString(QStringLiteral("dd.MM.yyyy")))
                << Qt::endl;
            return 2;
        }
        SilentProgress progress;
        result = publishTimetable(*db, request, progress);
    } catch (const DbError &error) {
        err << QStringLiteral("Расписание не опубликовано: ") << error.message() << Qt::endl;
        return 2;
    }
    for (const QString &warning : std::as_const(result.warnings))
        err << warning << Qt::endl;
    if (!result.done) {
        err << result.problem << Qt::endl;
        if (!result.foreign.isEmpty())
            err << QStringLiteral("Чтобы заменить их файлами расписания, повторите команду с "
                                  "--force.")
                << Qt::endl;
        return 1;
    }
    for (const QString &file : std::as_const(result.written))
        out << file << '\n';
    for (const QString &file : std::as_const(result.removed))
        out << QStringLiteral("удалён: ") << file << '\n';
    out << result.summary() << '\n';
    return 0;
}

} // namespace

int runPublishCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return runSubcommand<PublishOptions>(args, out, err, publishUsage, parseOptions, publish);
}

} // namespace korvesta
