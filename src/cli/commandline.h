#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include "editing/commandsettings.h"

#include <functional>
#include <optional>
#include <vector>

namespace korvesta {

// One option of a command: its long name and other names ("aud", "auditorium"), the name of
// its value in the help (empty for a switch), whether it may be given more than once, and
// what it does.
struct OptionSpec
{
    QStringList names;
    QString valueName;
    QString help;
    bool repeatable = false;
};

// A command's words after "korvesta": its name, the names of its positional arguments (the
// optional ones in brackets are not counted as required), its options and a line of what it
// does. The help, the manual and the completion are made from it.
struct CommandSpec
{
    QString name;
    QStringList arguments; // "ФАЙЛ", "НОВЫЙ.kvt"
    int requiredArguments = 0;
    std::vector<OptionSpec> options;
    QString summary;
    QString details; // further paragraphs of the help
};

// The arguments of one command read by GNU conventions: "--opt value" and "--opt=value", a
// switch alone, "--" ending the options, "-h"/"--help". Anything else, an option given twice
// that may be given once, a value missing or given to a switch, too few or too many
// arguments, is a usage error: one Russian line naming the option and what it expects.
class CommandLine
{
public:
    CommandLine(const CommandSpec &spec, const QStringList &args);

    bool helpAsked() const { return m_help; }
    // Empty when the line can be used.
    const QString &error() const { return m_error; }

    const QStringList &arguments() const { return m_arguments; }
    bool isSet(const QString &name) const;
    QString value(const QString &name) const;
    QStringList values(const QString &name) const;

    // Typed values; each records a usage error (and gives nullopt) when the text does not
    // read as the type. An option not given gives nullopt and no error.
    std::optional<QDate> date(const QString &name);
    std::optional<int> number(const QString &name, int low, int high);
    // One of the words (its index); the error lists them.
    std::optional<int> choice(const QString &name, const QStringList &words);

    // Records a usage error of the command's own (two options that exclude each other).
    void fail(const QString &message);

private:
    const OptionSpec *find(const QString &name) const;

    const CommandSpec &m_spec;
    std::vector<std::pair<QString, QString>> m_given; // canonical name, value
    QStringList m_arguments;
    QString m_error;
    bool m_help = false;
};

// The help of a command, as "korvesta CMD --help" prints it.
QString commandHelp(const CommandSpec &spec);

// Prints a usage error as one line and where the help is, and gives ExitUsage.
int usageFailure(const CommandSpec &spec, const QString &message, QTextStream &err);

// The --set KEY=VALUE options of a line (a malformed one is a usage error of the line).
CommandSettings::Values settingValues(CommandLine &line);

// Runs a command on its words: the help when asked for; else `read` takes the command's
// options from the line (recording its own usage errors there), and `run` does the work
// once the line can be used. Gives the command's exit code; both streams are flushed.
int runCommand(const CommandSpec &spec, const QStringList &args, QTextStream &out,
               QTextStream &err, const std::function<void(CommandLine &)> &read,
               const std::function<int()> &run);

} // namespace korvesta
