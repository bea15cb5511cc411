#include "publishcommand.h"

#include "commandline.h"

#include "publish/publisher.h"

#include "data/apppaths.h"
#include "data/dberror.h"
#include "data/documentsession.h"
#include "editing/commandrun.h"
#include "editing/commandsettings.h"
#include "editing/consoleprompts.h"
#include "editing/progress.h"

#include <optional>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

struct PublishOptions
{
    QString path, folder;
    QDate from, to;
    bool force = false;
};

void readOptions(CommandLine &line, PublishOptions &o)
{
    o.path = line.arguments().value(0);
    o.folder = line.arguments().value(1);
    o.from = line.date(QStringLiteral("from")).value_or(QDate());
    o.to = line.date(QStringLiteral("to")).value_or(QDate());
    o.force = line.isSet(QStringLiteral("force"));
    if (o.from.isValid() && o.to.isValid() && o.from > o.to)
        line.fail(QStringLiteral("Начало периода (%1) позже его конца (%2)")
                      .arg(o.from.toString(QStringLiteral("dd.MM.yyyy")),
                           o.to.toString(QStringLiteral("dd.MM.yyyy"))));
}

int publish(const PublishOptions &o, QTextStream &out, QTextStream &err)
{
    if (!documentFileGiven(o.path, err))
        return ExitUnreadable;
    CommandSettings run;
    if (!run.usable()) {
        err << CommandSettings::unusableText() << Qt::endl;
        return ExitRefused;
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
            return ExitUsage;
        }
        SilentProgress progress;
        result = publishTimetable(*db, request, progress);
    } catch (const DbError &error) {
        err << QStringLiteral("Расписание не опубликовано: ") << error.message() << Qt::endl;
        return ExitUnreadable;
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

const CommandSpec &publishCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("publish"),
        {QStringLiteral("ФАЙЛ"), QStringLiteral("ПАПКА")},
        2,
        {
            {{QStringLiteral("from")},
             QStringLiteral("Д"),
             QStringLiteral("начало периода (по умолчанию - учебного периода документа)")},
            {{QStringLiteral("to")}, QStringLiteral("Д"), QStringLiteral("конец периода")},
            {{QStringLiteral("force")},
             QString(),
             QStringLiteral("заменить файлы папки, которые записала не программа")},
        },
        QStringLiteral("опубликовать расписание в папку: календари .ics и веб-страницы групп, "
                       "преподавателей и аудиторий"),
        QStringLiteral("  Календарь iCalendar и веб-страница на каждую группу, преподавателя и "
                       "аудиторию и\n  оглавление index.html. Записываются только изменившиеся "
                       "файлы (выводятся их имена);\n  занятия, убранные после прошлой "
                       "публикации, приходят в календари отменёнными. Файлы\n  папки, которые "
                       "записала не программа, не изменяются: публикация отказывается и\n  "
                       "называет их."),
        {{Completion::Document, {}}, {Completion::Folder, {}}},
    };
    return spec;
}

int runPublishCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    PublishOptions o;
    return runCommand(
        publishCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return publish(o, out, err); });
}

} // namespace korvesta
