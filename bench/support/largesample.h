#pragma once

#include "data/documentsession.h"
#include "data/prompts.h"
#include "settings/settingsrecord.h"
#include "settings/settingsstore.h"

#include <QDate>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

namespace korvesta {

// A benchmark has no user: nothing is shown and every question is declined, or with `yes`
// set, a yes/no question is agreed to.
class SilentPrompts : public Prompts
{
public:
    bool yes = false;

    void message(const QString &, Icon, const QString &) override {}
    Answer askYesNo(const QString &, Icon, const QString &) override
    {
        return yes ? Answer::Yes : Answer::No;
    }
    Answer askYesNoCancel(const QString &, Icon, const QString &) override
    {
        return Answer::Cancel;
    }
    Answer askOkCancel(const QString &, Icon, const QString &) override { return Answer::Cancel; }
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

// The large sample institution, written once per benchmark program into a temporary folder,
// opened as the window opens a document, with the user's settings at their defaults.
struct LargeSample
{
    LargeSample();

    // The first field of the first row of a statement; null when there is no row.
    QVariant first(const QString &sql) const;

    QTemporaryDir folder;
    QString path;
    QDate busiestDay; // the date with the most lessons
    SilentPrompts prompts;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<DocumentSession> session;
    SettingsRecord record;
};

// Writes the sample on the first call.
LargeSample &largeSample();

} // namespace korvesta
