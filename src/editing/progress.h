#pragma once

#include "data/prompts.h"

#include <QString>

namespace korvesta {

// Where a long change of the timetable (deleting a range of dates, copying a week) reports
// its course: the status bar's text, a progress bar, and the user's Cancel. The window shows
// them; the headless commands print the texts; tests record them.
class Progress
{
public:
    virtual ~Progress() = default;

    // The status bar's text; an empty text clears it.
    virtual void status(const QString &text) = 0;
    // done of total steps are finished (0 <= done <= total).
    virtual void advance(int done, int total) = 0;
    // True once the user asked to stop; the work ends after the date it is on.
    virtual bool cancelled() = 0;
};

// Progress that nobody watches.
class SilentProgress final : public Progress
{
public:
    void status(const QString &) override {}
    void advance(int, int) override {}
    bool cancelled() override { return false; }
};

// Progress told as messages, one a line (the headless commands): the two lines of a stage
// ("Копирование расписания", "проводится запись данных") joined by a colon, and a text said
// just before not said again.
class PrintedProgress final : public Progress
{
public:
    explicit PrintedProgress(Prompts &prompts)
        : m_prompts(prompts)
    {}
    void status(const QString &text) override
    {
        if (!text.isEmpty() && text != m_last)
            m_prompts.message(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(": ")));
        m_last = text;
    }
    void advance(int, int) override {}
    bool cancelled() override { return false; }

private:
    Prompts &m_prompts;
    QString m_last;
};

} // namespace korvesta
