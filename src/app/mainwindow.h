#pragma once

#include "settings/settingsrecord.h"
#include "views/dispatchplan.h"
#include "views/fillregistry.h"
#include "views/navigationstate.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

class QActionGroup;
class QCalendarWidget;
class QFrame;
class QLabel;
class QSplitter;
class QStackedWidget;
class QToolBar;
class QToolButton;

namespace korvesta {

class BusyIndicator;
class DocumentSession;
class FileCommands;
class GridLookCommands;
class GridView;
class HelpCommands;
class NavigationBar;
class NoteCommand;
class frmCheck;
class ObjectPane;
class Prompts;
class ReportPreview;
class SlotAssistant;
class SettingsStore;
class StatusBarPanels;
class ViewDispatcher;

// The main window. It builds the menus, toolbars and panes, holds the navigation state and
// the settings record, and routes each command to the handler that owns it: the file
// commands, the view dispatcher, the help and the grid's look.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    frmMain(DocumentSession &session, SettingsStore &settings, Prompts &prompts,
            QWidget *parent = nullptr);
    ~frmMain() override;

    // The document of the command line (or a new one), the settings record, the calendars
    // and pickers, the panes and the grid's look. Once the window is on screen it opens on
    // the view the planner last used in the document (the group list the first time).
    void startUp(const QStringList &args);

    DocumentSession &session() { return m_session; }
    SettingsStore &settings() { return m_settings; }
    Prompts &prompts() { return m_prompts; }
    SettingsRecord &settingsRecord() { return m_record; }
    NavigationState &navigation() { return m_navigation; }
    FillRegistry &fills() { return m_fills; }

    ViewDispatcher &dispatcher() { return *m_dispatcher; }
    FileCommands &fileCommands() { return *m_fileCommands; }
    HelpCommands &helpCommands() { return *m_helpCommands; }
    GridLookCommands &gridLook() { return *m_gridLook; }
    NoteCommand &notes() { return *m_notes; }
    frmCheck *checkList() const;
    // "Подобрать время" beside the grid.
    SlotAssistant *slotAssistant() const { return m_slotAssistant; }

    // A command by the name of its menu item or the key of its toolbar button; nullptr for
    // an unknown name. A toolbar button that repeats a menu item shares its action.
    QAction *command(const QString &name) const { return m_commands.value(name); }
    QMenu *editMenu(EditMenu menu) const;
    QMenu *displayTextMenu() const { return m_displayTextMenu; }
    QMenu *filterMenu() const { return m_filterMenu; }

    NavigationBar *navigationBar() const { return m_leftPane; }
    ObjectPane *objectPane() const { return m_objectPane; }
    GridView *grid() const { return m_grid; }
    QWidget *printPreview() const { return m_printer; }
    // The individual reports' pages in the right pane (VSPrinter1).
    ReportPreview *reportPreview() const { return m_reportPreview; }
    QCalendarWidget *calendar() const { return m_monthView1; }
    StatusBarPanels *statusPanels() const { return m_status; }
    BusyIndicator *busyIndicator() const { return m_busy; }
    QLabel *viewCaption() const { return m_caption; }
    QToolBar *mainToolbar() const { return m_toolbar; }
    QToolBar *sectionToolbar() const { return m_toolbarView; }

    // "Панель разделов": shows or hides the navigation bar (the section toolbar takes its
    // place), lays the window out and saves LeftPane.
    void toggleLeftPane();
    void setLeftPaneShown(bool shown);
    bool isLeftPaneShown() const;
    // The pop-up calendar MonthView1, over the top right corner of the grid.
    void setCalendarShown(bool shown);
    void toggleCalendar();
    bool isCalendarShown() const;
    // The grid or, for the individual reports, the print preview.
    void showPreview(bool preview);
    void setObjectPaneShown(bool shown);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createPanes();
    void createMenus();
    void createFileMenu();
    void createViewMenu();
    void createEditMenus();
    void createServiceAndHelpMenus();
    void createToolbars();
    void createSectionToolbar();
    void connectPanes();
    QAction *addCommand(QMenu *menu, const QString &name, const QString &caption,
                        const QString &icon = QString());
    void addToolButton(QAction *action, const char *key, const QString &toolTip);
    void placeOverlays();
    void restoreGeometryOrDefault();
    void afterShown();
    bool keyPreview(QKeyEvent *event);

    DocumentSession &m_session;  // Not owned; outlives the window.
    SettingsStore &m_settings;   // Not owned.
    Prompts &m_prompts;          // Not owned.
    SettingsRecord m_record;
    NavigationState m_navigation;
    FillRegistry m_fills;

    QHash<QString, QAction *> m_commands;
    std::array<QMenu *, EditMenuCount> m_editMenus{};
    QMenu *m_displayTextMenu = nullptr;
    QMenu *m_filterMenu = nullptr;
    QToolBar *m_toolbar = nullptr;
    QToolBar *m_toolbarView = nullptr;
    QSplitter *m_splitter = nullptr;
    NavigationBar *m_leftPane = nullptr;
    QWidget *m_rightPane = nullptr;
    QLabel *m_caption = nullptr;
    QSplitter *m_rightSplitter = nullptr;
    ObjectPane *m_objectPane = nullptr;
    QStackedWidget *m_viewStack = nullptr;
    GridView *m_grid = nullptr;
    QWidget *m_printer = nullptr;
    ReportPreview *m_reportPreview = nullptr; // the same widget as m_printer
    QFrame *m_calendarFrame = nullptr; // the border of the pop-up calendar
    QCalendarWidget *m_monthView1 = nullptr;
    BusyIndicator *m_busy = nullptr;
    StatusBarPanels *m_status = nullptr;

    std::unique_ptr<ViewDispatcher> m_dispatcher;
    std::unique_ptr<FileCommands> m_fileCommands;
    std::unique_ptr<HelpCommands> m_helpCommands;
    std::unique_ptr<GridLookCommands> m_gridLook;
    NoteCommand *m_notes = nullptr; // a child
    QPointer<frmCheck> m_checkList;  // "Проверка расписания" while it is open
    SlotAssistant *m_slotAssistant = nullptr; // a child of the window

    int m_leftPaneWidth = 0;
    int m_objectPaneNeed = 0; // the width the object pane's parts needed when last shown
    bool m_started = false;
    bool m_closed = false;
};

} // namespace korvesta
