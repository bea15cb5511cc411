#pragma once

#include "data/prompts.h"

#include <QTextStream>

namespace korvesta {

// Prompts for the headless subcommands: messages and questions go to standard error, and
// every question is answered as a careful user without a window would answer it: no,
// cancel, nothing chosen; or, for a command run with --yes, yes and OK.
class ConsolePrompts : public Prompts
{
public:
    explicit ConsolePrompts(QTextStream &err, bool yes = false)
        : m_err(err)
        , m_yes(yes)
    {}

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
    // A question was answered no or cancel.
    bool refused() const { return m_refused; }

private:
    void say(const QString &text);
    // Says the question; true when it is answered yes.
    bool agree(const QString &text);

    QTextStream &m_err; // Not owned.
    bool m_yes = false;
    bool m_spoken = false;
    bool m_refused = false;
};

} // namespace korvesta
