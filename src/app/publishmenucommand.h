#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace korvesta {

class frmMain;

// "Файл → Опубликовать...": the timetable of the study period goes into the folder chosen for
// the document (asked for the first time, then remembered per document), with the progress on
// the status bar and the summary in a message. "Папка публикации..." chooses the folder
// anew. A child of the window.
class PublishMenuCommand : public QObject
{
    Q_OBJECT

public:
    explicit PublishMenuCommand(frmMain &window);

    // Asks for a folder, starting in the one given; empty when cancelled. A folder dialog by
    // default, replaced by tests.
    void setFolderChooser(std::function<QString(const QString &)> chooser)
    {
        m_choose = std::move(chooser);
    }

    void publish();
    // Asks for the folder and publishes there; false when cancelled.
    bool chooseFolderAndPublish();

private:
    void publishTo(const QString &folder);

    frmMain &m_window;
    std::function<QString(const QString &)> m_choose;
};

} // namespace korvesta
