#pragma once

#include "app/mainwindow.h"
#include "app/viewdispatcher.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "support/documentfixture.h"

#include <QAction>
#include <QApplication>

#include <memory>
#include <stdexcept>

namespace korvesta {

// The main window on the test's folder: its settings, dialogs and documents. The document the
// fixture builds is opened only when the test passes its path to open().
class WindowTest : public DocumentTest
{
protected:
    void SetUp() override {} // the window starts its own session
    void TearDown() override
    {
        closeWindow();
        DocumentTest::TearDown();
    }

    // Starts the window as the program starts with these arguments.
    frmMain &open(const QStringList &args = {})
    {
        window = std::make_unique<frmMain>(session, store, prompts);
        beforeStart(*window);
        window->startUp(args);
        window->resize(1100, 700);
        window->show();
        QApplication::processEvents();
        return *window;
    }
    // What the window needs before it starts, such as fills of the test's own.
    virtual void beforeStart(frmMain &) {}
    void closeWindow()
    {
        if (window)
            window->close();
        window.reset();
    }

    // Shows a view as the navigation bar does.
    void show(int code)
    {
        window->dispatcher().sectionClicked(code / 10);
        if (code % 10)
            window->dispatcher().itemClicked(code % 10);
    }
    // An unknown name fails the test rather than the test program.
    QAction *command(const char *name) const
    {
        if (QAction *action = window->command(QString::fromLatin1(name)))
            return action;
        throw std::runtime_error(std::string("no command ") + name);
    }
    template<typename T = QWidget>
    T *child(const char *name) const
    {
        if (T *found = window->findChild<T *>(QString::fromLatin1(name)))
            return found;
        throw std::runtime_error(std::string("no control ") + name);
    }
    GridModel &grid() const { return *window->grid()->model(); }
    int code() const { return window->navigation().viewCode(); }

    std::unique_ptr<frmMain> window;
};

} // namespace korvesta
