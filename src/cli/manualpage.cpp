#include "manualpage.h"

#include "commandline.h"
#include "subcommands.h"

namespace korvesta {

namespace {

// Text as roff prints it: backslashes and minus signs escaped, no line taken for a request.
QString roff(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\e"));
    escaped.replace(u'-', QStringLiteral("\\-"));
    if (escaped.startsWith(u'.') || escaped.startsWith(u'\''))
        escaped.prepend(QStringLiteral("\\&"));
    return escaped;
}

// The paragraphs of a help text, its lines joined.
QString paragraph(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(u'\n'))
        lines << line.trimmed();
    return roff(lines.join(u' ').simplified());
}

QString optionLine(const OptionSpec &o)
{
    QStringList names;
    for (const QString &n : o.names)
        names << QStringLiteral("\\fB") + roff((n.size() == 1 ? QStringLiteral("-")
                                                               : QStringLiteral("--"))
                                                + n)
                     + QStringLiteral("\\fR");
    QString line = names.join(QStringLiteral(", "));
    if (!o.valueName.isEmpty())
        line += QStringLiteral(" \\fI") + roff(o.valueName) + QStringLiteral("\\fR");
    return line;
}

} // namespace

QString manualCommands()
{
    QString text;
    for (const Subcommand &command : subcommands()) {
        const CommandSpec &spec = command.spec();
        text += QStringLiteral(".SS \"korvesta %1\"\n").arg(roff(commandSynopsis(spec)));
        QString summary = spec.summary;
        if (!summary.isEmpty())
            summary[0] = summary[0].toUpper();
        text += roff(summary) + QStringLiteral(".\n");
        if (!spec.details.isEmpty())
            text += QStringLiteral(".PP\n") + paragraph(spec.details) + u'\n';
        for (const OptionSpec &o : spec.options) {
            text += QStringLiteral(".TP\n") + optionLine(o) + u'\n' + roff(o.help);
            if (o.repeatable)
                text += QStringLiteral(" (можно повторять)");
            if (!o.words.isEmpty() && !o.help.contains(o.words.constFirst()))
                text += QStringLiteral(": ") + roff(o.words.join(QStringLiteral(", ")));
            text += u'\n';
        }
    }
    return text;
}

} // namespace korvesta
