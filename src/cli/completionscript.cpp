#include "completionscript.h"

#include "commandline.h"
#include "subcommands.h"

namespace korvesta {

namespace {

// Words in single quotes, a single quote inside closed and reopened.
QString quoted(const QString &text)
{
    QString inner = text;
    inner.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + inner + u'\'';
}

QString dashedNames(const OptionSpec &o)
{
    QStringList names;
    for (const QString &n : o.names)
        names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
    return names.join(u'|');
}

QStringList commandNames()
{
    QStringList names;
    for (const Subcommand &command : subcommands())
        names << command.spec().name;
    return names;
}

// The shell code that offers the values of one kind; empty when nothing is offered.
QString offer(Completion completion, const QStringList &words)
{
    switch (completion) {
    case Completion::Nothing:
        return QString();
    case Completion::Document:
        return QStringLiteral("_filedir kvt");
    case Completion::File:
        return QStringLiteral("_filedir");
    case Completion::Folder:
        return QStringLiteral("_filedir -d");
    case Completion::Words:
        return QStringLiteral("_korvesta_offer ") + quoted(words.join(u'\n'));
    case Completion::Group:
        return QStringLiteral("_korvesta_names groups");
    case Completion::Tutor:
        return QStringLiteral("_korvesta_names tutors");
    case Completion::Auditorium:
        return QStringLiteral("_korvesta_names auditoriums");
    case Completion::Discipline:
        return QStringLiteral("_korvesta_names disciplines");
    }
    return QString();
}

QString commandBranch(const CommandSpec &spec)
{
    QString text = QStringLiteral("    %1)\n").arg(spec.name);
    QStringList valued, all, silent;
    QString values;
    for (const OptionSpec &o : spec.options) {
        for (const QString &n : o.names)
            all << QStringLiteral("--") + n;
        if (o.valueName.isEmpty())
            continue;
        for (const QString &n : o.names)
            valued << QStringLiteral("--") + n;
        const QString code = offer(o.completion, o.words);
        if (code.isEmpty())
            silent << dashedNames(o);
        else
            values += QStringLiteral("            %1) %2; return ;;\n").arg(dashedNames(o), code);
    }
    all << QStringLiteral("--help");
    if (!silent.isEmpty())
        values += QStringLiteral("            %1) return ;;\n").arg(silent.join(u'|'));
    if (!values.isEmpty())
        text += QStringLiteral("        case $prev in\n") + values
                + QStringLiteral("        esac\n");
    text += QStringLiteral("        if [[ $cur == -* ]]; then\n"
                           "            COMPREPLY=($(compgen -W %1 -- \"$cur\"))\n"
                           "            return\n"
                           "        fi\n")
                .arg(quoted(all.join(u' ')));
    QString positions;
    for (int i = 0; i < spec.arguments.size(); ++i) {
        ArgumentValues a = argumentValues(spec, i);
        if (spec.name == u"help")
            a = {Completion::Words, commandNames()};
        const QString code = offer(a.completion, a.words);
        if (!code.isEmpty())
            positions += QStringLiteral("            %1) %2 ;;\n").arg(i).arg(code);
    }
    if (!positions.isEmpty())
        text += QStringLiteral("        case $(_korvesta_position %1) in\n")
                    .arg(quoted(valued.join(u' ')))
                + positions + QStringLiteral("        esac\n");
    return text + QStringLiteral("        ;;\n");
}

} // namespace

QString bashCompletion()
{
    QString text = QStringLiteral(
        "# bash completion for korvesta\n"
        "# Made by \"korvesta help --bash-completion\" from the commands' own definitions.\n"
        "\n"
        "# Offers the words (one a line, blanks allowed) that begin as the current word does.\n"
        "_korvesta_offer()\n"
        "{\n"
        "    local IFS=$'\\n' word\n"
        "    local typed=${cur#[\\\"\\']}\n"
        "    COMPREPLY=()\n"
        "    for word in $1; do\n"
        "        [[ ${word,,} == \"${typed,,}\"* ]] && COMPREPLY+=(\"$(printf '%q' \"$word\")\")\n"
        "    done\n"
        "}\n"
        "\n"
        "# Offers the names of the document's groups, tutors, auditoriums or disciplines.\n"
        "_korvesta_names()\n"
        "{\n"
        "    local document=${words[2]}\n"
        "    [[ $document == -* || ! -f $document ]] && return\n"
        "    _korvesta_offer \"$(korvesta names \"$document\" --kind \"$1\" 2>/dev/null)\"\n"
        "}\n"
        "\n"
        "# How many arguments come before the current word; $1: the options that take a value.\n"
        "_korvesta_position()\n"
        "{\n"
        "    local i n=0 options=\" $1 \"\n"
        "    for ((i = 2; i < cword; i++)); do\n"
        "        if [[ ${words[i]} == -* ]]; then\n"
        "            [[ ${words[i]} != *=* && $options == *\" ${words[i]} \"* ]] && ((i++))\n"
        "        else\n"
        "            ((n++))\n"
        "        fi\n"
        "    done\n"
        "    echo $n\n"
        "}\n"
        "\n"
        "_korvesta()\n"
        "{\n"
        "    local cur prev words cword\n"
        "    _init_completion -s || return\n"
        "    if ((cword == 1)); then\n"
        "        if [[ $cur == -* ]]; then\n"
        "            COMPREPLY=($(compgen -W '--help --version' -- \"$cur\"))\n"
        "        else\n"
        "            COMPREPLY=($(compgen -W %1 -- \"$cur\"))\n"
        "            _filedir kvt\n"
        "        fi\n"
        "        return\n"
        "    fi\n"
        "    case ${words[1]} in\n")
                       .arg(quoted(commandNames().join(u' ')));
    for (const Subcommand &command : subcommands())
        text += commandBranch(command.spec());
    text += QStringLiteral("    esac\n"
                           "} &&\n"
                           "    complete -F _korvesta korvesta\n");
    return text;
}

} // namespace korvesta
