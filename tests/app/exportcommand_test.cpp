// "Экспорт в MS Excel" in the window: the save dialog, the file written and opened.

#include "app/exportcommand.h"
#include "sample/demodocument.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

class ExportInWindow : public WindowTest
{
protected:
    void SetUp() override
    {
        const QString document = folder.file(QStringLiteral("Колледж.kvt"));
        writeDemoDocument(document, DemoRequest::fullYear(DemoSize::Small, 2026));
        open({document});
        exporter = window->findChild<ExportCommand *>(QStringLiteral("ExportCommand"));
        ASSERT_NE(exporter, nullptr);
        exporter->setOpener([this](const QString &file) { opened << file; });
    }
    void press() { command("ButtonExportToExcel")->trigger(); }

    ExportCommand *exporter = nullptr;
    QStringList opened;
};

TEST_F(ExportInWindow, WritesTheViewShownAndOpensIt)
{
    show(41);
    ASSERT_TRUE(command("submenuExport")->isEnabled());
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
