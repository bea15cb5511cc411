#include "consoleprompts.h"

namespace korvesta {

void ConsolePrompts::say(const QString &text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_err << line << Qt::endl;
    m_spoken = true;
}

bool ConsolePrompts::agree(const QString &text)
{
    say(text);
    m_refused = m_refused || !m_yes;
    return m_yes;
}

void ConsolePrompts::message(const QString &text, Icon, const QString &)
{
    say(text);
}

Prompts::Answer ConsolePrompts::askYesNo(const QString &text, Icon, const QString &)
{
    return agree(text) ? Answer::Yes : Answer::No;
}

Prompts::Answer ConsolePrompts::askYesNoCancel(const QString &text, Icon, const QString &)
{
    return agree(text) ? Answer::Yes : Answer::Cancel;
}

Prompts::Answer ConsolePrompts::askOkCancel(const QString &text, Icon, const QString &)
{
    return agree(text) ? Answer::Ok : Answer::Cancel;
}

Prompts::Answer ConsolePrompts::askRetryCancel(const QString &text, Icon, const QString &)
{
    // Nobody is there to wait: the lock wait has already been spent.
    say(text);
    return Answer::Cancel;
}

std::optional<QString> ConsolePrompts::askText(const QString &, const QString &, const QString &)
{
    return std::nullopt;
}

std::optional<QColor> ConsolePrompts::chooseColor(const QColor &)
{
    return std::nullopt;
}

std::optional<QString> ConsolePrompts::chooseFileToOpen(const FileChoice &)
{
    return std::nullopt;
}

std::optional<QString> ConsolePrompts::chooseFileToSave(const FileChoice &)
{
    return std::nullopt;
}

} // namespace korvesta
