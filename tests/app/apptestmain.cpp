// The widget tests run in one application, offscreen unless told otherwise, with Qt's own
// texts in Russian as the program has them.

#include "app/translations.h"

#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("KorvestaTests"));
    // Nothing a test does may reach the user's own folders.
    QStandardPaths::setTestModeEnabled(true);
    korvesta::installRussianTranslations(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
