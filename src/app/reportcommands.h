#pragma once

#include "frmpreview.h"
#include "views/viewcontext.h"

#include <QObject>
#include <QPointer>
#include <QSet>

#include <optional>

namespace korvesta {

class frmMain;
struct ReportContent;

// The window's output commands: the individual timetables rendered into the preview pane when
// an object is clicked in section "ИНДИВИДУАЛЬНОЕ", "Сохранить таблицу" (a report document of
// the view), "Печать" and "Предварительный просмотр" (the report shown, or the grid as a
// table of pages in frmPreview).
class ReportCommands : public QObject
{
    Q_OBJECT

public:
    explicit ReportCommands(frmMain &window);

    // The individual report of the view shown, for the object and the range of MonthView2.
    void showReport(const ObjectListEntry &entry);
    // True when a file was written.
    bool saveToFile();
    bool print();
    void printPreview();

    frmPreview *previewWindow() const { return m_previewWindow; }

private:
    void viewShown(int code);
    // The object chosen in the object list for the view shown, if any.
    std::optional<ObjectListEntry> currentObject() const;
    // The object as the report's query and its title name it ("П-9  (1)" for a group).
    static QString objectText(int code, const ObjectListEntry &entry);
    // The view's grid as pages, titled with the view's caption and object.
    ReportContent gridContent() const;
    QString documentName() const;

    frmMain &m_window;
    QPointer<frmPreview> m_previewWindow;
    std::optional<ObjectListEntry> m_shownObject; // of the report in the preview pane
    QSet<QString> m_toldProblems; // faults of the layout files told while the window is open
};

} // namespace korvesta
