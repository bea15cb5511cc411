#include "scriptedprompts.h"

#include <gtest/gtest.h>

namespace korvesta {

namespace {

template<typename T>
std::optional<T> take(std::deque<std::optional<T>> &queue, const QString &what)
{
    std::optional<T> answer;
    if (queue.empty()) {
        ADD_FAILURE() << "No scripted answer for: " << what.toStdString();
    } else {
        answer.swap(queue.front());
        queue.pop_front();
    }
    return answer;
}

} // namespace

QStringList ScriptedPrompts::texts(Kind kind) const
{
    QStringList result;
    for (const Shown &item : shown) {
        if (item.kind == kind)
            result << item.text;
    }
    return result;
}

bool ScriptedPrompts::exhausted() const
{
    return answers.empty() && fileAnswers.empty() && textAnswers.empty()
           && colorAnswers.empty();
}

void ScriptedPrompts::message(const QString &text, Icon icon, const QString &)
{
    shown.push_back({Kind::Message, text, icon});
}

Prompts::Answer ScriptedPrompts::nextAnswer(Kind kind, const QString &text, Icon icon,
                                            Answer unscripted)
{
    shown.push_back({kind, text, icon});
    if (answers.empty()) {
        ADD_FAILURE() << "No scripted answer for the question: " << text.toStdString();
        return unscripted;
    }
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

Prompts::Answer ScriptedPrompts::askYesNo(const QString &text, Icon icon, const QString &)
{
    return nextAnswer(Kind::YesNo, text, icon, Answer::No);
}

Prompts::Answer ScriptedPrompts::askYesNoCancel(const QString &text, Icon icon, const QString &)
{
    return nextAnswer(Kind::YesNoCancel, text, icon, Answer::Cancel);
}

Prompts::Answer ScriptedPrompts::askOkCancel(const QString &text, Icon icon, const QString &)
{
    return nextAnswer(Kind::OkCancel, text, icon, Answer::Cancel);
}

Prompts::Answer ScriptedPrompts::askRetryCancel(const QString &text, Icon icon, const QString &)
{
    return nextAnswer(Kind::RetryCancel, text, icon, Answer::Cancel);
}

std::optional<QString> ScriptedPrompts::askText(const QString &label, const QString &,
                                                const QString &)
{
    shown.push_back({Kind::Text, label, Icon::None});
    return take(textAnswers, label);
}

std::optional<QColor> ScriptedPrompts::chooseColor(const QColor &)
{
    shown.push_back({Kind::Color, QString(), Icon::None});
    return take(colorAnswers, QStringLiteral("colour"));
}

std::optional<QString> ScriptedPrompts::nextFile(Kind kind, const FileChoice &choice)
{
    shown.push_back({kind, choice.title, Icon::None});
    fileChoices.push_back(choice);
    return take(fileAnswers, kind == Kind::OpenFile ? QStringLiteral("file to open")
                                                    : QStringLiteral("file to save"));
}

std::optional<QString> ScriptedPrompts::chooseFileToOpen(const FileChoice &choice)
{
    return nextFile(Kind::OpenFile, choice);
}

std::optional<QString> ScriptedPrompts::chooseFileToSave(const FileChoice &choice)
{
    return nextFile(Kind::SaveFile, choice);
}

} // namespace korvesta
