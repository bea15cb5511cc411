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

bool DateLock::passwordGiven()
{
    const QString password =
        m_settings.readText(QStringLiteral("Settings"), QStringLiteral("AccessEditPwd"), QString());
    if (password.isEmpty())
        return true;
    const std::optional<QString> answer =
        m_prompts.askPassword(QStringLiteral("Введите пароль для редактирования расписания"));
    if (!answer)
        return false;
    if (*answer == password)
        return true;
    m_prompts.message(QStringLiteral("Неверный пароль"), Prompts::Icon::Critical);
    return false;
}

bool DateLock::setLocked(const QDate &date, bool lock)
{
    if (!date.isValid() || (!lock && !passwordGiven()))
        return false;
    const bool done =
        runDocumentChange<bool>(m_session, m_prompts, false, [&](const Database &db) {
            // The protection is kept out of the history: undo must not lift it without the
            // password, and the steps around it are refused on a date protected since.
            const History::Unrecorded unrecorded(db);
            Database::Transaction transaction(db);
            db.lockDates({date});
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
