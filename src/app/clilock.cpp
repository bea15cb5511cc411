#include "clilock.h"

#include "cli.h"
#include "editing/consoleprompts.h"
#include "data/apppaths.h"
#include "data/documentsession.h"
#include "data/isodate.h"
#include "data/trialrun.h"
#include "editing/datelock.h"
#include "settings/settingsstore.h"

#include <QTemporaryDir>

#include <optional>

#include "editing/exitcode.h"

namespace korvesta {

namespace {

const char *const lockUsage =
    "Использование:\n"
    "  korvesta lock ФАЙЛ --date Д [--unlock [--password ПАРОЛЬ]] [--dry-run]\n"
    "  Закрывает дату расписания для редактирования; с --unlock открывает её, если пароль\n"
    "  совпадает с паролем из настроек программы (без пароля в настройках не нужен).\n";

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

} // namespace

int runLockCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString path;
    QDate date;
    bool unlock = false;
    bool dryRun = false;
    std::optional<QString> password;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == u"--help") {
            out << QString::fromUtf8(lockUsage);
            return 0;
        } else if (a == u"--unlock") {
            unlock = true;
        } else if (a == u"--dry-run") {
            dryRun = true;
        } else if (a == u"--date" && hasValue) {
            date = parseMoment(args[++i]).date();
            if (!date.isValid()) {
                err << QStringLiteral("Непонятная дата: %1").arg(args[i]) << Qt::endl;
                return 2;
            }
        } else if (a == u"--password" && hasValue) {
            password = args[++i];
        } else if (path.isEmpty() && !a.startsWith(QStringLiteral("--"))) {
            path = a;
        } else {
            err << QStringLiteral("Непонятный аргумент: %1").arg(a) << Qt::endl
                << QString::fromUtf8(lockUsage);
            return 2;
        }
    }
    if (path.isEmpty() || !date.isValid()) {
        err << QStringLiteral("Укажите файл документа и дату (--date)") << Qt::endl
            << QString::fromUtf8(lockUsage);
        return 2;
    }
    if (!documentFileGiven(path, err))
        return ExitUnreadable;

    // The password is the user's own; nothing of the run is written back to his settings.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        err << QStringLiteral("Не удалось создать временную папку") << Qt::endl;
        return 1;
    }
    const SettingsStore user;
    SettingsStore settings(scratch.filePath(QStringLiteral("settings.ini")));
    settings.write(QStringLiteral("Settings"), QStringLiteral("AccessEditPwd"),
                       user.readText(QStringLiteral("Settings"), QStringLiteral("AccessEditPwd"),
                                     QString()));
    PasswordPrompts prompts(err, password);
    DocumentSession session(prompts, settings, AppPaths::standard());
    session.startFromCommandLine({path});
    const std::optional<Database> db = session.access();
    if (!db)
        return ExitUnreadable;
    std::optional<TrialRun> trial;
    if (dryRun)
        trial.emplace(*db);
    if (!DateLock(session, settings, prompts).setLocked(date, !unlock))
        return 1;
    if (trial)
        trial->report(out, err);
    return 0;
}

} // namespace korvesta
