#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace korvesta {

class frmMain;

// "Экспорт в MS Excel" (submenuExport, and the toolbar's ButtonExportToExcel that repeats
// it): the grid of the view shown goes to an .xlsx file the user names, with the progress on
// the status bar, and the file opens in the desktop's spreadsheet program. A view that is not
// exported does nothing. A child of the window.
class ExportCommand : public QObject
{
    Q_OBJECT

public:
    explicit ExportCommand(frmMain &window);

    // Opens the written file; the desktop's program by default, replaced by tests.
    void setOpener(std::function<void(const QString &)> opener) { m_open = std::move(opener); }

    void exportView();

private:
    frmMain &m_window;
    std::function<void(const QString &)> m_open;
};

} // namespace korvesta
