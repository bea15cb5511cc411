#pragma once

#include "data/prompts.h"

#include <QPointer>

class QWidget;

namespace korvesta {

// Prompts shown as Qt's own dialogs over a parent window. While the program waits for a
// document another program holds, the wait cursor shows it (until the event loop runs again,
// or a dialog of these prompts opens).
class QtPrompts : public Prompts
{
public:
    explicit QtPrompts(QWidget *parent = nullptr);

    void setParent(QWidget *parent);

    void message(const QString &text, Icon icon, const QString &title) override;
    Answer askYesNo(const QString &text, Icon icon, const QString &title) override;
    Answer askYesNoCancel(const QString &text, Icon icon, const QString &title) override;
    Answer askOkCancel(const QString &text, Icon icon, const QString &title) override;
    Answer askRetryCancel(const QString &text, Icon icon, const QString &title) override;
    std::optional<QString> askText(const QString &label, const QString &initial,
                                   const QString &title) override;
    std::optional<QString> askPassword(const QString &label, const QString &title) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;
    std::optional<QString> chooseFileToOpen(const FileChoice &choice) override;
    std::optional<QString> chooseFileToSave(const FileChoice &choice) override;

private:
    QPointer<QWidget> m_parent; // Not owned.
};

} // namespace korvesta
