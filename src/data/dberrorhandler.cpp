#include "dberrorhandler.h"

#include "connection.h"
#include "dberror.h"
#include "prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTimer>

namespace korvesta {

namespace {

const QString kCancelled = QStringLiteral("Действие отменено");
const QString kBusy = QStringLiteral("Документ занят другой программой");

// What this user action has reported already, so that the reads that follow stay quiet: lost
// documents by path, locked ones by kBusy and path.
QSet<QString> &reported()
{
    static QSet<QString> paths;
    return paths;
}

// The user's action ends when the event loop runs again. The report's own dialogs run nested
// loops, so the end is looked for only once they are closed.
void awaitEndOfAction()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        QTimer::singleShot(0, app, &endReportedLoss);
}

// The data of a deleted document that the program still holds, written into a file the user
// picks, which then becomes the document.
bool saveLostData(const QString &path, Prompts &prompts,
                  const std::function<void(const QString &)> &adopt)
{
    Prompts::FileChoice choice;
    choice.folder = QFileInfo(path).absolutePath();
    choice.proposedName = QFileInfo(path).fileName();
    choice.filter = QStringLiteral("Файлы Тарвела (*.kvt)");
    const std::optional<QString> chosen = prompts.chooseFileToSave(choice);
    if (!chosen || chosen->isEmpty())
        return false;
    try {
        Connection::saveLostData(path, *chosen);
    } catch (const DbError &error) {
        prompts.message(QStringLiteral("Не удалось сохранить файл ")
                            + QDir::toNativeSeparators(*chosen) + QStringLiteral("\r\n")
                            + error.message(),
                        Prompts::Icon::Warning);
        return false;
    }
    adopt(QDir::cleanPath(QFileInfo(*chosen).absoluteFilePath()));
    return true;
}

void reportLostFile(const DbError &error, Prompts &prompts,
                    const std::function<void()> &openDocument,
                    const std::function<void(const QString &)> &saveElsewhere)
{
    const QString path = error.path().isEmpty()
                             ? QString()
                             : QDir::cleanPath(QFileInfo(error.path()).absoluteFilePath());
    if (path.isEmpty()) {
        // No document chosen yet: the user picks one.
        if (openDocument)
            openDocument();
        return;
    }
    if (reported().contains(path))
        return;
    // Reads made while the report's dialogs are open (another file picked and found missing
    // too) stay quiet as well.
    reported().insert(path);
    const QString lost = QStringLiteral("Файл документа «") + QDir::toNativeSeparators(path)
                         + QStringLiteral("» не найден: его удалили, переименовали или "
                                          "перенесли в другую папку.");
    if (saveElsewhere && Connection::holdsLostData(path)) {
        const Prompts::Answer save =
            prompts.askYesNo(lost
                                 + QStringLiteral("\r\n\r\nДанные документа ещё открыты в "
                                                  "программе. Сохранить их в другой файл?"
                                                  "\r\n(«Нет» - открыть другой документ.)"),
                             Prompts::Icon::Warning);
        if (save == Prompts::Answer::Yes && saveLostData(path, prompts, saveElsewhere)) {
            awaitEndOfAction();
            return;
        }
    } else {
        prompts.message(lost, Prompts::Icon::Warning);
    }
    if (openDocument)
        openDocument();
    awaitEndOfAction();
}

} // namespace

void endReportedLoss()
{
    reported().clear();
}

void handleDatabaseError(const DbError &error, Prompts &prompts,
                         const std::function<void()> &openDocument,
                         const std::function<void(const QString &)> &saveElsewhere)
{
    switch (error.code()) {
    case dberr::ForeignFormat:
    case dberr::TooFewParameters:
    case dberr::TableNotFound:
    case dberr::ItemNotFound:
        prompts.message(QStringLiteral("Некорректный формат базы данных") + QStringLiteral("\r\n")
                            + kCancelled,
                        Prompts::Icon::None);
        break;
    case dberr::FileNotFound:
        reportLostFile(error, prompts, openDocument, saveElsewhere);
        break;
    case dberr::Locked:
        // Said once: the other reads of the action meet the same lock.
        if (reported().contains(kBusy + error.path()))
            break;
        reported().insert(kBusy + error.path());
        prompts.message(kBusy + QStringLiteral(".\r\n") + kCancelled
                            + QStringLiteral(": повторите его, когда другая программа закончит "
                                             "работу с документом."),
                        Prompts::Icon::Warning);
        awaitEndOfAction();
        break;
    case dberr::ReadOnly:
    case dberr::DiskFull:
    case dberr::DiskIo:
    case dberr::TooBig:
    case dberr::Duplicate:
        // These say what was not done and what to do themselves.
        prompts.message(error.message(), Prompts::Icon::Warning);
        break;
    default:
        prompts.message(error.message() + QStringLiteral("\r\n") + kCancelled,
                        Prompts::Icon::Warning);
        break;
    }
}

bool askToRetryLocked(const DbError &error, Prompts &prompts)
{
    if (error.code() != dberr::Locked)
        return false;
    return prompts.askRetryCancel(kBusy
                                      + QStringLiteral(".\r\nПовторите, когда она закончит "
                                                       "работу с документом, или отмените "
                                                       "действие."),
                                  Prompts::Icon::Warning)
           == Prompts::Answer::Retry;
}

} // namespace korvesta
