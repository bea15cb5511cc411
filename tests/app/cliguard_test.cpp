// The boundary of a subcommand: whatever goes wrong inside, the user reads a Russian message
// and the process ends with a failure code instead of an abort.

#include "cli/subcommands.h"
#include "data/dberror.h"

#include <QTextStream>

#include <functional>
#include <new>
#include <stdexcept>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

TEST(CommandLine, NoExceptionLeavesASubcommand)
{
    const struct
    {
        const char *what;
        std::function<int()> command;
        const char *message;
    } cases[] = {
        {"engine", []() -> int { throw DbError(dberr::Failed, QStringLiteral("Диск полон")); },
         "Диск полон"},
        {"memory", []() -> int { throw std::bad_alloc(); }, "Недостаточно памяти"},
        {"library", []() -> int { throw std::out_of_range("map::at"); }, "внутренней ошибки"},
        {"anything", []() -> int { throw 42; }, "внутренней ошибки"},
    };
    for (const auto &c : cases) {
        QString text;
        QTextStream errors(&text);
        EXPECT_EQ(runGuarded(c.command, errors), 1) << c.what;
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.message))) << c.what << ": "
                                                                 << text.toStdString();
    }
    QString text;
    QTextStream errors(&text);
    EXPECT_EQ(runGuarded([] { return 2; }, errors), 2);
    EXPECT_TRUE(text.isEmpty());
}

} // namespace
} // namespace korvesta
