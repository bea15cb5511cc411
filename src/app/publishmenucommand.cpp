#include "publishmenucommand.h"

#include "busyindicator.h"
#include "mainwindow.h"
#include "statusprogress.h"

#include "data/dberror.h"
#include "data/documentsession.h"
#include "publish/publisher.h"
#include "settings/settingsrecord.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace korvesta {

PublishMenuCommand::PublishMenuCommand(frmMain &window)
    : QObject(&window)
    , m_window(window)
    , m_choose([&window](const QString &start) {
        return QFileDialog::getExistingDirectory(
            &window, QStringLiteral("Папка для публикации расписания"), start);
    })
{
    setObjectName(QStringLiteral("PublishMenuCommand"));
}

bool PublishMenuCommand::chooseFolderAndPublish()
{
    const QString document = m_window.session().currentPath();
    QString start = publishFolder(m_window.settings(), document);
    if (start.isEmpty())
        start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString chosen = m_choose(start);
    if (chosen.isEmpty())
        return false;
    setPublishFolder(m_window.settings(), document, QDir::cleanPath(chosen));
    publishTo(QDir::cleanPath(chosen));
    return true;
}

void PublishMenuCommand::publish()
{
    const QString folder = publishFolder(m_window.settings(), m_window.session().currentPath());
    // The first time, and when the folder has gone, the planner chooses where.
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        chooseFolderAndPublish();
    else
        publishTo(folder);
}

void PublishMenuCommand::publishTo(const QString &folder)
{
    Prompts &prompts = m_window.prompts();
    const std::optional<Database> db = m_window.session().access();
    if (!db)
        return;
    PublishResult result;
    try {
        BusyScope busy(m_window.busyIndicator());
        StatusProgress progress(m_window.statusPanels());
        PublishRequest request;
        request.folder = folder;
        request.today = QDate::currentDate();
        request.now = QDateTime::currentDateTimeUtc();
        request.zone = QTimeZone::systemTimeZone();
        request.workDays = m_window.settingsRecord().WorkDays;
        std::tie(request.from, request.to) = defaultPublishPeriod(*db, request.today);
        result = publishTimetable(*db, request, progress);
        // Files of someone else are replaced only when the planner says so.
        if (!result.done && !result.foreign.isEmpty()) {
            progress.status(QString());
            const QString question =
                QStringLiteral("В папке «%1» уже есть файлы, которые записала не эта "
                               "программа:\n%2\n\nЗаменить их файлами расписания?")
                    .arg(folder, result.foreign.mid(0, 15).join(u'\n')
                                     + (result.foreign.size() > 15
                                            ? QStringLiteral("\n… и ещё %1")
                                                  .arg(result.foreign.size() - 15)
                                            : QString()));
            if (prompts.askYesNo(question, Prompts::Icon::Question,
                                 QStringLiteral("Публикация расписания"))
                != Prompts::Answer::Yes)
                return;
            request.replaceForeign = true;
            result = publishTimetable(*db, request, progress);
        }
        progress.status(QString());
    } catch (const DbError &error) {
        m_window.session().handleError(error);
        return;
    }
    const QString warnings = result.warnings.isEmpty()
                                 ? QString()
                                 : u'\n' + result.warnings.join(u'\n');
    if (result.done)
        prompts.message(QStringLiteral("Расписание опубликовано в папку «%1»:\n").arg(folder)
                            + result.summary() + warnings,
                        Prompts::Icon::Information, QStringLiteral("Публикация расписания"));
    else
        prompts.message(result.problem + warnings, Prompts::Icon::Warning,
                        QStringLiteral("Публикация расписания"));
}

} // namespace korvesta
