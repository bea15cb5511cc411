#pragma once

#include <QMainWindow>

namespace korvesta {

class DocumentSession;

// The main window. For now it carries the file commands and the document's title; the
// views, panes and toolbars come with their own handlers.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(DocumentSession &session, QWidget *parent = nullptr);
    ~frmMain() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    // Refills the grid for the current view after a file command (done or cancelled).
    void refresh();

    DocumentSession &m_session; // Not owned; outlives the window.
    bool m_closed = false;
};

} // namespace korvesta
