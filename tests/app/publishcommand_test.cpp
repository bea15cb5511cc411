// "Опубликовать..." in the window: the folder asked for once per document and remembered.

#include "app/mainwindow.h"
#include "app/publishmenucommand.h"
#include "data/apppaths.h"
#include "data/documentsession.h"
#include "publish/publisher.h"
#include "sample/demodocument.h"
#include "settings/settingsstore.h"
#include "support/scriptedprompts.h"
#include "support/testdocument.h"

#include <QAction>
#include <QApplication>
#include <QFile>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

TEST(PublishInWindow, AsksForTheFolderOnceAndRemembersItPerDocument)
{
    TestFolder folder;
    SettingsStore settings{folder.file("settings.ini")};
    ScriptedPrompts prompts;
    DocumentSession session{prompts, settings, AppPaths{folder.path(), folder.path()}};
    const QString document = folder.file(QStringLiteral("Колледж.kvt"));
    writeDemoDocument(document, DemoRequest::fullYear(DemoSize::Small, 2026));
    frmMain window(session, settings, prompts);
    window.startUp({document});
    window.show();
    QApplication::processEvents();
    auto *command = window.findChild<PublishMenuCommand *>(QStringLiteral("PublishMenuCommand"));
    ASSERT_NE(command, nullptr);
    QStringList asked;
    QString answer; // cancelled first
    command->setFolderChooser([&](const QString &start) {
        asked << start;
        return answer;
    });
    QAction *publish = window.command(QStringLiteral("submenuPublish"));
    ASSERT_NE(publish, nullptr);

    publish->trigger();
    EXPECT_EQ(asked.size(), 1);
    EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::Message).isEmpty());
    EXPECT_TRUE(publishFolder(settings, document).isEmpty());

    answer = folder.file(QStringLiteral("сайт"));
    publish->trigger();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(QFile::exists(answer + QStringLiteral("/index.html")));
    EXPECT_EQ(publishFolder(settings, document), answer);
    ASSERT_EQ(prompts.texts(ScriptedPrompts::Kind::Message).size(), 1);
    EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::Message)[0].contains(
        QStringLiteral("опубликовано: 10 групп, 15 преподавателей, 15 аудиторий")));

    // The second time nothing is asked and nothing has changed.
    publish->trigger();
    EXPECT_EQ(asked.size(), 2);
    ASSERT_EQ(prompts.texts(ScriptedPrompts::Kind::Message).size(), 2);
    EXPECT_TRUE(prompts.texts(ScriptedPrompts::Kind::Message)[1].endsWith(
        QStringLiteral("изменено файлов: 0")));
    window.close();
}

} // namespace
} // namespace korvesta
