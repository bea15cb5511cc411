#pragma once

#include "frmhelp.h"

#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;

namespace korvesta {

class Prompts;


// "Помощь", "Что это такое?" and "О программе". The help is the HTML page shipped with the
// program, shown in a window of its own.
class HelpCommands
{
public:
    static inline const QString MissingMessage = QStringLiteral(
        "Файл Справки не найден. Возможно, он не ассоциирован с данной программой.");

    HelpCommands(QWidget *window, Prompts &prompts);
    ~HelpCommands();

    // Where the help is looked for: beside the program, then in the installed share folder.
    static QStringList standardLocations();
    // The help page in use: the first of the locations that exists, else the first.
    QString helpFile() const { return m_helpFile; }
    void setHelpFile(const QString &path) { m_helpFile = path; }

    // Opens the help; false (after telling the user) when the page cannot be shown.
    bool showHelp();
    // The help check, then the pointer asks which control to explain.
    void whatsThis();
    void about();

    frmHelp *helpWindow() const { return m_viewer; }

private:
    bool helpExists() const;

    QWidget *m_window;  // Not owned; the main window.
    Prompts &m_prompts; // Not owned.
    QString m_helpFile;
    QPointer<frmHelp> m_viewer;
};

} // namespace korvesta
