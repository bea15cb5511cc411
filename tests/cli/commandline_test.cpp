// The one command-line parser, as every subcommand reads its words with it.

#include "cli/commandline.h"
#include "cli/completionscript.h"
#include "cli/manualpage.h"
#include "cli/subcommands.h"

#include <QHash>
#include <QSet>

#include <gtest/gtest.h>

namespace korvesta {
namespace {

const CommandSpec &spec()
{
    static const CommandSpec s{
        QStringLiteral("place"),
        {QStringLiteral("ФАЙЛ"), QStringLiteral("ВТОРОЙ")},
        1,
        {
            {{QStringLiteral("date")}, QStringLiteral("Д"), QStringLiteral("дата")},
            {{QStringLiteral("lesson")}, QStringLiteral("N"), QStringLiteral("урок")},
            {{QStringLiteral("group")}, QStringLiteral("ГРУППА"), QStringLiteral("группа"), true},
            {{QStringLiteral("aud"), QStringLiteral("auditorium")},
             QStringLiteral("А"),
             QStringLiteral("аудитория")},
            formatOption(),
            {{QStringLiteral("yes")}, QString(), QStringLiteral("согласиться")},
        },
        QStringLiteral("поставить занятие"),
        QString(),
    };
    return s;
}

TEST(CommandLine, ReadsTheGnuFormsAlike)
{
    const QStringList forms[] = {
        {"a.kvt", "--date", "01.02.2026", "--group", "П-1", "--group=П-2", "--auditorium", "101"},
        {"--date=2026-02-01", "a.kvt", "--group=П-1", "--aud=101", "--group", "П-2"},
        {"--group", "П-1", "--date", "1.2.2026", "--group", "П-2", "--aud", "101", "--", "a.kvt"},
    };
    for (const QStringList &args : forms) {
        CommandLine line(spec(), args);
        ASSERT_EQ(line.error(), QString()) << args.join(' ').toStdString();
        EXPECT_EQ(line.arguments(), QStringList{"a.kvt"});
        EXPECT_EQ(line.date("date"), QDate(2026, 2, 1));
        EXPECT_EQ(line.values("group"), (QStringList{"П-1", "П-2"}));
        EXPECT_EQ(line.value("aud"), "101") << "an alias answers to the first name";
        EXPECT_FALSE(line.isSet("yes"));
    }
    CommandLine afterDashes(spec(), {"a.kvt", "--", "--yes"});
    EXPECT_EQ(afterDashes.arguments(), (QStringList{"a.kvt", "--yes"}));
    EXPECT_TRUE(CommandLine(spec(), {"-h"}).helpAsked());
    EXPECT_TRUE(CommandLine(spec(), {"a.kvt", "--help"}).helpAsked());
}

TEST(CommandLine, RefusesInOneLineWhatItCannotUse)
{
    const struct
    {
        QStringList args;
        const char *error;
    } cases[] = {
        {{"a.kvt", "--nope"}, "Неизвестный параметр: --nope"},
        {{"a.kvt", "-x"}, "Неизвестный параметр: -x"},
        {{"a.kvt", "-date", "1.2.2026"}, "Параметры пишутся с двумя дефисами: --date"},
        {{"a.kvt", "--date"}, "Не указано значение параметра --date (Д)"},
        {{"a.kvt", "--yes=да"}, "Параметр --yes задаётся без значения"},
        {{"a.kvt", "--date", "1.2.2026", "--date", "2.2.2026"}, "Параметр --date указан дважды"},
        {{"a.kvt", "--aud", "1", "--auditorium", "2"}, "Параметр --aud указан дважды"},
        {{"a.kvt", "--yes", "--yes"}, "Параметр --yes указан дважды"},
        {{}, "Не указано: ФАЙЛ"},
        {{"a.kvt", "b.kvt", "c.kvt"}, "Лишний аргумент: c.kvt"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CommandLine(spec(), c.args).error(), QString::fromUtf8(c.error))
            << c.args.join(' ').toStdString();
}

TEST(CommandLine, TypesItsValues)
{
    CommandLine line(spec(), {"a.kvt", "--date", "31.02.2026"});
    EXPECT_EQ(line.date("date"), std::nullopt);
    EXPECT_EQ(line.error(), "--date: нужна дата дд.мм.гггг или гггг-мм-дд, а не «31.02.2026»");

    CommandLine lesson(spec(), {"a.kvt", "--lesson", "15"});
    EXPECT_EQ(lesson.number("lesson", 1, 14), std::nullopt);
    EXPECT_EQ(lesson.error(), "--lesson: нужно целое число от 1 до 14, а не «15»");
    EXPECT_EQ(CommandLine(spec(), {"a.kvt", "--lesson", " 7"}).number("lesson", 1, 14), 7);

    CommandLine format(spec(), {"a.kvt", "--format", "xml"});
    EXPECT_EQ(format.choice("format"), std::nullopt);
    EXPECT_EQ(format.error(), "--format: одно из text, tsv, json, а не «xml»");
    EXPECT_EQ(CommandLine(spec(), {"a.kvt", "--format=json"}).choice("format"), 2);
    EXPECT_EQ(CommandLine(spec(), {"a.kvt"}).date("date"), std::nullopt) << "not given";

    const QString help = commandHelp(spec());
    EXPECT_TRUE(help.contains("korvesta place ФАЙЛ [ВТОРОЙ] [ПАРАМЕТРЫ]"));
    EXPECT_TRUE(help.contains("--aud, --auditorium А"));
}

// One name, one meaning: an option that several commands take is a switch in all of them or
// takes the same kind of value in all of them, and no command has a name twice.
TEST(CommandLine, AnOptionMeansTheSameInEveryCommand)
{
    struct Seen
    {
        QString command;
        bool switched;
        Completion completion;
    };
    QHash<QString, Seen> seen;
    for (const Subcommand &command : subcommands()) {
        const CommandSpec &spec = command.spec();
        QSet<QString> names;
        for (const OptionSpec &o : spec.options) {
            for (const QString &name : o.names) {
                EXPECT_FALSE(names.contains(name)) << spec.name.toStdString() << " --"
                                                   << name.toStdString() << " twice";
                names.insert(name);
                const Seen now{spec.name, o.valueName.isEmpty(), o.completion};
                const auto before = seen.constFind(name);
                if (before == seen.constEnd()) {
                    seen.insert(name, now);
                    continue;
                }
                EXPECT_EQ(before->switched, now.switched)
                    << "--" << name.toStdString() << " in " << before->command.toStdString()
                    << " and " << spec.name.toStdString();
                EXPECT_EQ(int(before->completion), int(now.completion))
                    << "--" << name.toStdString() << " in " << before->command.toStdString()
                    << " and " << spec.name.toStdString();
            }
        }
        EXPECT_EQ(findSubcommand(spec.name), &command);
    }
    // The completion and the manual name every option the parser knows.
    const QString completion = bashCompletion();
    const QString manual = manualCommands();
    for (const Subcommand &command : subcommands()) {
        const CommandSpec &spec = command.spec();
        const qsizetype branch = completion.indexOf(QStringLiteral("\n    %1)\n").arg(spec.name));
        ASSERT_GE(branch, 0) << spec.name.toStdString();
        const QString own = completion.mid(branch).section(QStringLiteral("\n        ;;\n"), 0, 0);
        for (const OptionSpec &o : spec.options) {
            for (const QString &name : o.names) {
                EXPECT_TRUE(own.contains(QStringLiteral("--") + name))
                    << spec.name.toStdString() << " --" << name.toStdString();
                EXPECT_TRUE(manual.contains(QStringLiteral("\\fB\\-\\-%1\\fR")
                                                .arg(QString(name).replace(u'-', QStringLiteral("\\-")))))
                    << spec.name.toStdString() << " --" << name.toStdString();
            }
        }
    }
}

} // namespace
} // namespace korvesta
