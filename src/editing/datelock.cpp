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
            const QString day = date.toString(QStringLiteral("dd.MM.yyyy"));
            const History::Step step(db, (lock ? QStringLiteral("закрытие даты ")
                                               : QStringLiteral("открытие даты "))
                                             + day + QStringLiteral(" для редактирования"));
            Database::Transaction transaction(db);
            Recordset rs = db.openRecordset(QStringLiteral("SELECT tblTimeTableList.* "
                                                           "FROM tblTimeTableList "
                                                           "WHERE (((tblTimeTableList.Date)=%1));")
                                                .arg(sqlDateLiteral(date)));
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
