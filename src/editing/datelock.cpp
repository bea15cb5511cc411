#include "datelock.h"

#include "documentchange.h"

#include "data/history.h"
#include "data/prompts.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "settings/settingsstore.h"

namespace korvesta {

DateLock::DateLock(DocumentSession &session, const SettingsStore &settings, Prompts &prompts)
    : m_session(session)
    , m_settings(settings)
    , m_prompts(prompts)
{}

std::optional<QString> DateLock::unlockPassword(const Database &db)
{
    const bool documents = db.keepsEditPassword();
    const QString own =
        m_settings.readText(QStringLiteral("Settings"), QStringLiteral("AccessEditPwd"), QString());
    if (documents ? !db.hasEditPassword() : own.isEmpty())
        return QString();
    const std::optional<QString> answer =
        m_prompts.askPassword(QStringLiteral("Введите пароль для редактирования расписания"));
    if (!answer)
        return std::nullopt;
    if (documents || *answer == own)
        return answer; // the server checks its own in the transaction that lifts
    m_prompts.message(QStringLiteral("Неверный пароль"), Prompts::Icon::Critical);
    return std::nullopt;
}

bool DateLock::setLocked(const QDate &date, bool lock)
{
    if (!date.isValid())
        return false;
    const bool done =
        runDocumentChange<bool>(m_session, m_prompts, false, [&](const Database &db) {
            const std::optional<QString> password = lock ? QString() : unlockPassword(db);
            if (!password)
                return false;
            // The protection is kept out of the history: undo must not lift it without the
            // password, and the steps around it are refused on a date protected since.
            const History::Unrecorded unrecorded(db);
            Database::Transaction transaction(db);
            db.lockDates({date});
            if (!lock && !db.giveEditPassword(*password)) {
                m_prompts.message(QStringLiteral("Неверный пароль"), Prompts::Icon::Critical);
                return false;
            }
            Recordset rs = db.openRecordset(QStringLiteral("SELECT tblTimeTableList.* "
                                                           "FROM tblTimeTableList "
                                                           "WHERE (((tblTimeTableList.Date)=%1));")
                                                .arg(sqlDateLiteral(date)));
            const bool locked = !rs.isEmpty() && rs.value(QStringLiteral("ReadOnly")).toBool();
            if (locked == lock) {
                // Another program may have done it since the button was pressed.
                m_prompts.message(
                    (lock ? QStringLiteral("Дата %1 уже заблокирована для редактирования")
                          : QStringLiteral("Дата %1 не заблокирована для редактирования"))
                        .arg(date.toString(QStringLiteral("dd.MM.yyyy"))),
                    Prompts::Icon::Information);
                return false;
            }
            if (rs.isEmpty()) {
                rs.addNew();
                rs.setValue(QStringLiteral("Date"), date);
            } else {
                rs.edit();
            }
            rs.setValue(QStringLiteral("ReadOnly"), lock);
            rs.update();
            transaction.commit();
            return true;
        });
    if (done)
        m_prompts.message(lock ? lockedText() : unlockedText(), Prompts::Icon::Information);
    return done;
}

} // namespace korvesta
