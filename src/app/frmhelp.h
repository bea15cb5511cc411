#pragma once

#include <QWidget>

class QTextBrowser;

namespace korvesta {

// The help window: the program's HTML help with its links followed in place.
class frmHelp : public QWidget
{
    Q_OBJECT

public:
    explicit frmHelp(QWidget *parent = nullptr);

    // Shows a page; false with the reason when it cannot be read.
    bool openPage(const QString &path, QString *error);
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};

} // namespace korvesta
