#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include "editing/commandsettings.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace korvesta {

// What the shell completes for a value: nothing (a date, a number, free text), a document,
// any file, a folder, one of a set of words, or the names of the document's own objects.
enum class Completion { Nothing, Document, File, Folder, Words, Group, Tutor, Auditorium, Discipline };

// One option of a command: its long name and other names ("aud", "auditorium"), the name of
// its value in the help (empty for a switch), what it does, whether it may be given more than
// once, and what its value is (the words of a choice).
struct OptionSpec
{
    OptionSpec(QStringList aNames, QString aValueName, QString aHelp, bool aRepeatable = false,
               Completion aCompletion = Completion::Nothing, QStringList aWords = {})
        : names(std::move(aNames))
        , valueName(std::move(aValueName))
        , help(std::move(aHelp))
        , repeatable(aRepeatable)
        , completion(aCompletion)
        , words(std::move(aWords))
    {}

    QStringList names;
    QString valueName;
    QString help;
    bool repeatable = false;
    Completion completion = Completion::Nothing;
    QStringList words;
};

// What a positional argument is, for the completion; a command that names none takes a
// document first and files after it.
struct ArgumentValues
{
    Completion completion = Completion::File;
    QStringList words;
};

// A command's words after "korvesta": its name, the names of its positional arguments (the
// optional ones in brackets are not counted as required), its options and a line of what it
// does. The help, the manual and the completion are made from it.
struct CommandSpec
{
    CommandSpec(QString aName, QStringList aArguments, int aRequiredArguments,
                std::vector<OptionSpec> aOptions, QString aSummary, QString aDetails = {},
                std::vector<ArgumentValues> aArgumentValues = {})
        : name(std::move(aName))
        , arguments(std::move(aArguments))
        , requiredArguments(aRequiredArguments)
        , options(std::move(aOptions))
        , summary(std::move(aSummary))
        , details(std::move(aDetails))
        , argumentValues(std::move(aArgumentValues))
    {}

    QString name;
    QStringList arguments; // "ФАЙЛ", "НОВЫЙ.kvt"
    int requiredArguments = 0;
    std::vector<OptionSpec> options;
    QString summary;
    QString details; // further paragraphs of the help
    std::vector<ArgumentValues> argumentValues; // parallel to arguments
};

// The options many commands share, so that one name has one meaning everywhere.
OptionSpec formatOption(const QStringList &extraWords = {}); // --format text|tsv|json
OptionSpec isoDatesOption();
OptionSpec setOption();    // --set KEY=VALUE, the user's settings for this run
OptionSpec yesOption();    // --yes, the answer to the program's questions
OptionSpec dryRunOption(); // --dry-run
OptionSpec forceOption(const QString &what); // --force, replace an existing file
// The objects, named as every command takes them; the help says what the option is for.
OptionSpec groupOption(const QString &help);      // --group "П-9 (1)"
OptionSpec tutorOption(const QString &help);      // --tutor
OptionSpec audOption(const QString &help);        // --aud, --auditorium
OptionSpec disciplineOption(const QString &help); // --discipline

// What an argument of a command is (ArgumentValues' default when the command names none).
ArgumentValues argumentValues(const CommandSpec &spec, int index);

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
    // Every value of a repeatable option, read as the type (empty after an error).
    std::vector<QDate> dates(const QString &name);
    std::vector<int> numbers(const QString &name, int low, int high);
    // One of the option's words (its index); the error lists them.
    std::optional<int> choice(const QString &name);

    // Records a usage error of the command's own (two options that exclude each other).
    void fail(const QString &message);

private:
    const OptionSpec *find(const QString &name) const;
    std::optional<QDate> dateOf(const QString &name, const QString &text);
    std::optional<int> numberOf(const QString &name, const QString &text, int low, int high);

    const CommandSpec &m_spec;
    std::vector<std::pair<QString, QString>> m_given; // canonical name, value
    QStringList m_arguments;
    QString m_error;
    bool m_help = false;
};

// The words of a text in lines of at most `width` characters, the lines after the first
// indented by `indent` blanks.
QString wrapped(const QString &text, int indent, int width);

// The command's words as a usage line shows them: "clear ФАЙЛ [ПАРАМЕТРЫ]".
QString commandSynopsis(const CommandSpec &spec);

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
