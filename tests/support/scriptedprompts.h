#pragma once

#include "data/prompts.h"

#include <deque>
#include <vector>

namespace korvesta {

// Prompts for tests: answers come from queues filled by the test, and every text shown is
// recorded. A dialog for which no answer was scripted fails the test and is cancelled.
class ScriptedPrompts : public Prompts
{
public:
    enum class Kind {
        Message,
        YesNo,
        YesNoCancel,
        OkCancel,
        RetryCancel,
        Text,
        Color,
        OpenFile,
        SaveFile
    };
    struct Shown
    {
        Kind kind;
        QString text; // the message, question or label; a file dialog's title
        Icon icon = Icon::None;
    };

    // Answers for askYesNo, askYesNoCancel, askOkCancel and askRetryCancel, in order.
    std::deque<Answer> answers;
    // Answers for chooseFileToOpen and chooseFileToSave; nullopt cancels.
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QString>> textAnswers;
    std::deque<std::optional<QColor>> colorAnswers;

    std::vector<Shown> shown;
    std::vector<FileChoice> fileChoices; // what each file dialog was opened with

    // The texts shown of one kind, in order.
    QStringList texts(Kind kind) const;
    // Every scripted answer has been used.
    bool exhausted() const;

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

private:
    Answer nextAnswer(Kind kind, const QString &text, Icon icon, Answer unscripted);
    std::optional<QString> nextFile(Kind kind, const FileChoice &choice);
};

} // namespace korvesta
