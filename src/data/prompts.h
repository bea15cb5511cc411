#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

namespace korvesta {

// Everything core code says to or asks of the user goes through this interface. The window
// implements it with Qt dialogs; tests answer from a script and record every text.
class Prompts
{
public:
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Answer { Yes, No, Ok, Cancel, Retry };

    virtual ~Prompts() = default;

    // A message with an OK button.
    virtual void message(const QString &text, Icon icon = Icon::None,
                         const QString &title = QString()) = 0;
    // Yes/No question; returns Yes or No.
    virtual Answer askYesNo(const QString &text, Icon icon = Icon::Question,
                            const QString &title = QString()) = 0;
    // Yes/No/Cancel question.
    virtual Answer askYesNoCancel(const QString &text, Icon icon = Icon::Question,
                                  const QString &title = QString()) = 0;
    // OK/Cancel confirmation; returns Ok or Cancel.
    virtual Answer askOkCancel(const QString &text, Icon icon = Icon::Question,
                               const QString &title = QString()) = 0;
    // "Повторить"/"Отмена" after something that may succeed a moment later (a document
    // another program holds); returns Retry or Cancel.
    virtual Answer askRetryCancel(const QString &text, Icon icon = Icon::Warning,
                                  const QString &title = QString()) = 0;
    // A line of text; nullopt when cancelled.
    virtual std::optional<QString> askText(const QString &label, const QString &initial,
                                           const QString &title = QString()) = 0;
    // A password, its letters hidden where the implementation can hide them; nullopt when
    // cancelled.
    virtual std::optional<QString> askPassword(const QString &label,
                                               const QString &title = QString())
    {
        return askText(label, QString(), title);
    }
    // A colour; nullopt when cancelled.
    virtual std::optional<QColor> chooseColor(const QColor &initial) = 0;

    struct FileChoice
    {
        QString title;
        QString folder;        // starting folder (or a file path in it)
        QString proposedName;  // for saving
        QString filter;        // e.g. "Файлы Тарвела (*.kvt)"
    };
    // An existing file to open; nullopt when cancelled.
    virtual std::optional<QString> chooseFileToOpen(const FileChoice &choice) = 0;
    // A file name to save to. The implementation asks before overwriting an existing file;
    // a returned path that exists has been confirmed. nullopt when cancelled.
    virtual std::optional<QString> chooseFileToSave(const FileChoice &choice) = 0;
};

} // namespace korvesta
