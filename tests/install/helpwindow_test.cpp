// The help as installed: every page in the contents, every link and picture present, the
// search narrowing the contents; and the About box naming what a support request needs.

#include "app/frmabout.h"
#include "app/frmhelp.h"
#include "data/engineversion.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

const QString kHelpFolder = QStringLiteral(KORVESTA_HELP_DIR);

// Saves a picture of the widget when KORVESTA_SCREENSHOT_DIR names a folder.
void screenshot(QWidget &widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("KORVESTA_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        widget.grab().save(QDir(folder).filePath(name));
}

QStringList contentsTitles(const frmHelp &help)
{
    const auto *list = help.findChild<QListWidget *>(QStringLiteral("lvContents"));
    QStringList titles;
    for (int row = 0; list && row < list->count(); ++row)
        titles << list->item(row)->text();
    return titles;
}

TEST(HelpPages, EveryPageIsListedAndEveryLinkAndPictureExists)
{
    const QStringList files = QDir(kHelpFolder).entryList({QStringLiteral("*.html")});
    QStringList ordered = frmHelp::pageOrder();
    QStringList sortedFiles = files;
    sortedFiles.sort();
    ordered.sort();
    EXPECT_EQ(sortedFiles, ordered) << "a help page is missing from the contents, or gone";

    static const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"#:]+)[^\"]*\""));
    for (const QString &file : files) {
        QFile page(QDir(kHelpFolder).filePath(file));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        for (auto match = reference.globalMatch(html); match.hasNext();) {
            const QString target = match.next().captured(1);
            EXPECT_TRUE(QFileInfo::exists(QDir(kHelpFolder).filePath(target)))
                << qPrintable(file) << " refers to a missing " << qPrintable(target);
        }
    }
}

TEST(HelpWindow, ContentsFollowTheSearch)
{
    frmHelp help;
    QString error;
    ASSERT_TRUE(help.openPage(QDir(kHelpFolder).filePath(QStringLiteral("index.html")), &error))
        << qPrintable(error);
    const QStringList all = contentsTitles(help);
    ASSERT_EQ(all.size(), frmHelp::pageOrder().size());
    EXPECT_EQ(all.value(1), QStringLiteral("Группы"));

    struct Case
    {
        const char *name;
        QString text;
        QStringList titles;
    };
    const Case cases[] = {
        {"a word of one page, in any case", QStringLiteral("ОТРАБОТКА ЗА"),
         {QStringLiteral("Тарвела: учебное расписание"), QStringLiteral("Преподаватели")}},
        {"every word must be on the page", QStringLiteral("корпус аудитории"),
         {QStringLiteral("Аудитории"), QStringLiteral("Расписание")}},
        {"of words on different pages, none", QStringLiteral("корпус табель"), {}},
        {"nothing found", QStringLiteral("несуществующееслово"), {}},
        {"an emptied search lists every page", QString(), all},
    };
    auto *search = help.findChild<QLineEdit *>(QStringLiteral("txtSearch"));
    ASSERT_NE(search, nullptr);
    for (const Case &c : cases) {
        search->setText(c.text);
        EXPECT_EQ(contentsTitles(help), c.titles) << c.name;
    }

    search->setText(QStringLiteral("Shift"));
    EXPECT_TRUE(help.browser()->textCursor().hasSelection()) << "the found word is marked";
    help.resize(1000, 640);
    help.show();
    screenshot(help, QStringLiteral("help.png"));
    search->clear();
    ASSERT_TRUE(help.openPage(QDir(kHelpFolder).filePath(QStringLiteral("timetable.html")), &error));
    EXPECT_EQ(help.findChild<QListWidget *>(QStringLiteral("lvContents"))->currentItem()->text(),
              QStringLiteral("Расписание"))
        << "the contents show the page a link led to";
    screenshot(help, QStringLiteral("help-timetable.png"));
}

TEST(AboutBox, NamesVersionBuildAndLibraries)
{
    frmAbout about;
    const auto *versions = about.findChild<QLabel *>(QStringLiteral("lblVersions"));
    ASSERT_NE(versions, nullptr);
    const QString text = versions->text();
    EXPECT_TRUE(text.contains(QStringLiteral("SQLite ") + sqliteVersion())) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("Qt ") + QString::fromLatin1(qVersion())));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Дата сборки: \\d\\d\\.\\d\\d\\.\\d{4}"))))
        << qPrintable(text);
    about.show();
    screenshot(about, QStringLiteral("about.png"));
}

} // namespace
} // namespace korvesta
