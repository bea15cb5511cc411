#include "lockcommand.h"

#include "commandline.h"
#include "trialreport.h"
#include "editing/commandrun.h"
#include "editing/commandsettings.h"
#include "editing/consoleprompts.h"
#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/trialrun.h"
#include "editing/datelock.h"
#include "settings/settingsstore.h"

#include <optional>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

// Console prompts that give the password of the command line when one is asked.
class PasswordPrompts : public ConsolePrompts
{
public:
    PasswordPrompts(QTextStream &err, std::optional<QString> password)
        : ConsolePrompts(err)
        , m_password(std::move(password))
    {}
    std::optional<QString> askPassword(const QString &label, const QString &title) override
    {
        if (!m_password)
            message(label + QStringLiteral(": укажите --password"), Icon::Warning, title);
        return m_password;
    }

private:
    std::optional<QString> m_password;
};

struct LockOptions
{
    QString path;
    QDate date;
    bool unlock = false;
    bool dryRun = false;
    RecordFormat format = RecordFormat::Text;
    std::optional<QString> password;
};

void readOptions(CommandLine &line, LockOptions &o)
{
    o.path = line.arguments().value(0);
    o.date = line.date(QStringLiteral("date")).value_or(QDate());
    o.unlock = line.isSet(QStringLiteral("unlock"));
    o.dryRun = line.isSet(QStringLiteral("dry-run"));
    o.format = RecordFormat(line.choice(QStringLiteral("format")).value_or(0));
    if (line.isSet(QStringLiteral("password")))
        o.password = line.value(QStringLiteral("password"));
    if (!o.date.isValid())
        line.fail(QStringLiteral("Не указана дата (--date)"));
    else if (o.password && !o.unlock)
        line.fail(QStringLiteral("Пароль (--password) нужен только с --unlock"));
}

int lock(const LockOptions &o, QTextStream &out, QTextStream &err)
{
    const QString &path = o.path;
    if (!documentFileGiven(path, err))
        return ExitUnreadable;

    // The password is the user's own; nothing of the run is written back to his settings.
    CommandSettings run;
    if (!run.usable()) {
        err << CommandSettings::unusableText() << Qt::endl;
        return ExitRefused;
    }
    SettingsStore &settings = run.store();
    PasswordPrompts prompts(err, o.password);
    DocumentSession session(prompts, settings, AppPaths::standard());
    session.startFromCommandLine({path});
    const std::optional<Database> db = session.access();
    if (!db)
        return ExitUnreadable;
    std::optional<TrialRun> trial;
    if (o.dryRun)
        trial.emplace(*db);
    if (!DateLock(session, settings, prompts).setLocked(o.date, !o.unlock))
        return 1;
    if (trial)
        reportTrial(*trial, o.format, out, err);
    return 0;
}

} // namespace

const CommandSpec &lockCommandSpec()
{
    static const CommandSpec spec{
        QStringLiteral("lock"),
        {QStringLiteral("ФАЙЛ")},
        1,
        {
            {{QStringLiteral("date")}, QStringLiteral("Д"), QStringLiteral("дата расписания")},
            {{QStringLiteral("unlock")}, QString(), QStringLiteral("открыть дату, а не закрыть")},
            {{QStringLiteral("password")},
             QStringLiteral("ПАРОЛЬ"),
             QStringLiteral("пароль из настроек программы (нужен, только если он задан)")},
            dryRunOption(),
            formatOption(),
        },
        QStringLiteral("закрыть дату расписания для редактирования или открыть её"),
        QStringLiteral("  Открыть дату можно, если пароль совпадает с паролем из настроек "
                       "программы."),
    };
    return spec;
}

int runLockCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    LockOptions o;
    return runCommand(
        lockCommandSpec(), args, out, err, [&](CommandLine &line) { readOptions(line, o); },
        [&] { return lock(o, out, err); });
}

} // namespace korvesta
