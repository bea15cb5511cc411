#pragma once

#include "data/prompts.h"

namespace korvesta {

// Stands in for the user while one row of a table goes through the checks of manual entry:
// the first message is the reason the row is refused, and the confirmation of an addition is
// the planner's own choice to import.
class RowPrompts : public Prompts
{
public:
    QString reason;

    void message(const QString &text, Icon, const QString &) override;
    Answer askYesNo(const QString &, Icon, const QString &) override { return Answer::Yes; }
    Answer askYesNoCancel(const QString &, Icon, const QString &) override { return Answer::Yes; }
    Answer askOkCancel(const QString &, Icon, const QString &) override { return Answer::Ok; }
    Answer askRetryCancel(const QString &, Icon, const QString &) override
    {
        return Answer::Cancel;
    }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QColor> chooseColor(const QColor &) override { return std::nullopt; }
    std::optional<QString> chooseFileToOpen(const FileChoice &) override { return std::nullopt; }
    std::optional<QString> chooseFileToSave(const FileChoice &) override { return std::nullopt; }
};

} // namespace korvesta
