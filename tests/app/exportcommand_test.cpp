// "Экспорт в MS Excel" in the window: the save dialog, the file written and opened.

#include "app/exportcommand.h"
#include "app/mainwindow.h"
#include "app/viewdispatcher.h"
#include "data/apppaths.h"
#include "data/documentsession.h"
#include "sample/demodocument.h"
#include "settings/settingsstore.h"
#include "support/scriptedprompts.h"
#include "support/testdocument.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class ExportInWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString document = folder.file(QStringLiteral("Колледж.kvt"));
        writeDemoDocument(document, DemoSize::Small, 2026);
        window = std::make_unique<frmMain>(session, settings, prompts);
        window->startUp({document});
        window->show();
        QApplication::processEvents();
        exporter = window->findChild<ExportCommand *>(QStringLiteral("ExportCommand"));
        ASSERT_NE(exporter, nullptr);
        exporter->setOpener([this](const QString &path) { opened << path; });
    }
    void TearDown() override
    {
        if (window)
            window->close();
    }
    void show(int code)
    {
        window->dispatcher().sectionClicked(code / 10);
        if (code % 10)
            window->dispatcher().itemClicked(code % 10);
    }
    void press() { window->command(QStringLiteral("ButtonExportToExcel"))->trigger(); }

    TestFolder folder;
    SettingsStore settings{folder.file("settings.ini")};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, settings, AppPaths{folder.path(), folder.path()}};
    std::unique_ptr<frmMain> window;
    ExportCommand *exporter = nullptr;
    QStringList opened;
};

TEST_F(ExportInWindow, WritesTheViewShownAndOpensIt)
{
    show(41);
    ASSERT_TRUE(window->command(QStringLiteral("submenuExport"))->isEnabled());
    const QString chosen = folder.file(QStringLiteral("неделя.12.10"));
    prompts.fileAnswers.push_back(chosen);
    press();
    ASSERT_EQ(prompts.fileChoices.size(), 1u);
    EXPECT_EQ(prompts.fileChoices[0].filter, QStringLiteral("Таблица MS Excel (*.xlsx)"));
    EXPECT_EQ(prompts.fileChoices[0].proposedName,
              QStringLiteral("Расписание занятий на неделю.xlsx"));
    // The name given without its extension gets it.
    EXPECT_EQ(opened, QStringList{chosen + QStringLiteral(".xlsx")});
    EXPECT_TRUE(QFile::exists(chosen + QStringLiteral(".xlsx")));

    // Cancelling the dialog writes and opens nothing.
    prompts.fileAnswers.push_back(std::nullopt);
    press();
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(ExportInWindow, ADestinationThatCannotBeWrittenIsTold)
{
    show(0);
    const QString taken = folder.file(QStringLiteral("списки.xlsx"));
    QDir().mkdir(taken);
    prompts.fileAnswers.push_back(taken);
    press();
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(prompts.texts(ScriptedPrompts::Kind::Message).size(), 1);
    EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::Message)[0].endsWith(
        QStringLiteral(" - это папка. Укажите имя файла таблицы")));
}

} // namespace
} // namespace korvesta
