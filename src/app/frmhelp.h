#pragma once

#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace korvesta {

// The help window: the contents of the program's HTML help on the left, with a search over
// every page, and the page itself on the right with its links followed in place.
class frmHelp : public QWidget
{
    Q_OBJECT

public:
    explicit frmHelp(QWidget *parent = nullptr);

    // Shows a page and lists the help pages of its folder; false with the reason when it
    // cannot be read.
    bool openPage(const QString &path, QString *error);
    QTextBrowser *browser() const { return m_browser; }

    // Lists only the pages that hold every word of the text (all pages for an empty text).
    void search(const QString &text);

    // The pages of the help in the order of the contents, as file names.
    static const QStringList &pageOrder();

private:
    struct Page
    {
        QString path;
        QString title;
        QString text; // Plain text, for the search.
    };

    void loadContents(const QString &folder);
    void showPage(int row);
    void highlight();

    QLineEdit *m_search;
    QListWidget *m_contents;
    QTextBrowser *m_browser;
    QList<Page> m_pages;
    QString m_folder;
};

} // namespace korvesta
