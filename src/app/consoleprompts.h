#pragma once

#include "data/prompts.h"

#include <QTextStream>

namespace korvesta {

// Prompts for the headless subcommands: messages go to standard error, and every question is
// answered as a careful user without a window would answer it: no, cancel, nothing chosen.
class ConsolePrompts : public Prompts
{
public:
    explicit ConsolePrompts(QTextStream &err) : m_err(err) {}

    void message(const QString &text, Icon icon, const QString &title) override;
    Answer askYesNo(const QString &text, Icon icon, const QString &title) override;
    Answer askYesNoCancel(const QString &text, Icon icon, const QString &title) override;
    Answer askOkCancel(const QString &text, Icon icon, const QString &title) override;
    Answer askRetryCancel(const QString &text, Icon icon, const QString &title) override;
    std::optional<QString> askText(const QString &label, const QString &initial,
                                   const QString &title) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
    std::optional<QString> chooseFileToOpen(const FileChoice &choice) override;
    std::optional<QString> chooseFileToSave(const FileChoice &choice) override;

    // Some message has been written.
    bool hasSpoken() const { return m_spoken; }

private:
    void say(const QString &text);

    QTextStream &m_err; // Not owned.
    bool m_spoken = false;
};

// Console prompts that answer every question with yes, for --yes.
class AgreeingPrompts : public ConsolePrompts
{
public:
    using ConsolePrompts::ConsolePrompts;
    Answer askYesNo(const QString &, Icon, const QString &) override { return Answer::Yes; }
};

// Console prompts that say no, remembering that a question was asked.
class RefusingPrompts : public ConsolePrompts
{
public:
    using ConsolePrompts::ConsolePrompts;
    Answer askYesNo(const QString &text, Icon icon, const QString &title) override
    {
        m_asked = true;
        return ConsolePrompts::askYesNo(text, icon, title);
    }
    bool asked() const { return m_asked; }

private:
    bool m_asked = false;
};

} // namespace korvesta
