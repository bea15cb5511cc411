#include "tutorexceptions.h"

#include "documentchange.h"

#include "data/history.h"
#include "data/prompts.h"
#include "data/sqltext.h"
#include "settings/settingsrecord.h"

namespace korvesta {

namespace {

const QString kBreak = QStringLiteral("\r\n");

QString lessonCondition(int keyTutor, const BusyCell &cell)
{
    return QStringLiteral("((tblTutorOut.KeyTutor)=%1) AND ((tblTutorOut.FreeLesson)=%2)")
        .arg(keyTutor)
        .arg(cell.lesson);
}

// The marks of a cell kept one way.
QString markCondition(int keyTutor, MarkBy by, const BusyCell &cell)
{
    return QStringLiteral("((%1 AND %2))")
        .arg(lessonCondition(keyTutor, cell),
             by == MarkBy::Date
                 ? QStringLiteral("((tblTutorOut.FreeLocalDate)=%1)").arg(sqlDateLiteral(cell.date))
                 : QStringLiteral("((tblTutorOut.FreeDay)=%1)").arg(cell.weekday));
}

// Every mark of a cell: those of its weekday and those of its date.
QString cellCondition(int keyTutor, const BusyCell &cell)
{
    QString condition = QStringLiteral("((%1 AND ((tblTutorOut.FreeDay)=%2)))")
                            .arg(lessonCondition(keyTutor, cell))
                            .arg(cell.weekday);
    if (cell.date.isValid())
        condition += QStringLiteral(" OR ") + markCondition(keyTutor, MarkBy::Date, cell);
    return condition;
}

bool markable(const BusyCell &cell, MarkBy by, int workDays)
{
    if (cell.lesson < 1)
        return false;
    if (by == MarkBy::Date)
        return cell.date.isValid();
    return cell.weekday >= 1 && cell.weekday <= workDays;
}

} // namespace

TutorExceptions::TutorExceptions(DocumentSession &session, const SettingsRecord &settings,
                                 Prompts &prompts)
    : m_session(session)
    , m_settings(settings)
    , m_prompts(prompts)
{}

bool TutorExceptions::mark(int keyTutor, int kind, MarkBy by, const std::vector<BusyCell> &cells)
{
    std::vector<BusyCell> marked;
    for (const BusyCell &cell : cells) {
        if (markable(cell, by, m_settings.WorkDays))
            marked.push_back(cell);
    }
    if (keyTutor == 0 || kind == 0 || marked.empty())
        return false;
    return runDocumentChange<bool>(m_session, m_prompts, false, [&](const Database &db) {
        const History::Step step(db, QStringLiteral("отметка занятости преподавателя"));
        Database::Transaction transaction(db);
        for (const BusyCell &cell : marked) {
            db.execute(QStringLiteral("DELETE tblTutorOut.* FROM tblTutorOut WHERE %1;")
                           .arg(markCondition(keyTutor, by, cell)));
            db.execute(QStringLiteral("INSERT INTO tblTutorOut (KeyTutor, %1, FreeLesson, "
                                      "KeyTypeOut) VALUES (%2, %3, %4, %5);")
                           .arg(by == MarkBy::Date ? QStringLiteral("FreeLocalDate")
                                                   : QStringLiteral("FreeDay"))
                           .arg(keyTutor)
                           .arg(by == MarkBy::Date ? sqlDateLiteral(cell.date)
                                                   : QString::number(cell.weekday))
                           .arg(cell.lesson)
                           .arg(kind));
        }
        transaction.commit();
        return true;
    });
}

QString TutorExceptions::removalQuestion(const QString &tutor, MarkBy by, const BusyCell &first)
{
    return QStringLiteral("Удаляется запись о свободном времени") + kBreak
           + QStringLiteral("преподавателя ") + tutor + kBreak
           + (by == MarkBy::Date
                  ? QStringLiteral("на дату ") + first.date.toString(QStringLiteral("dd.MM.yyyy"))
                  : QStringLiteral("на урок ") + QString::number(first.lesson))
           + kBreak + kBreak + QStringLiteral("Продолжить?");
}

bool TutorExceptions::remove(int keyTutor, const QString &tutor, MarkBy by,
                             const std::vector<BusyCell> &cells)
{
    if (keyTutor == 0 || cells.empty())
        return false;
    if (m_prompts.askYesNo(removalQuestion(tutor, by, cells.front()), Prompts::Icon::Question,
                           QStringLiteral("Подтверждение удаления"))
        != Prompts::Answer::Yes)
        return false;
    return runDocumentChange<bool>(m_session, m_prompts, false, [&](const Database &db) {
        const History::Step step(db, QStringLiteral("удаление отметок занятости преподавателя"));
        Database::Transaction transaction(db);
        qint64 removed = 0;
        for (const BusyCell &cell : cells) {
            if (cell.lesson >= 1)
                removed += db.execute(QStringLiteral("DELETE tblTutorOut.* FROM tblTutorOut "
                                                     "WHERE %1;")
                                          .arg(cellCondition(keyTutor, cell)));
        }
        transaction.commit();
        return removed > 0;
    });
}

} // namespace korvesta
