#pragma once

#include <QColor>
#include <QFont>

#include <functional>
#include <optional>

class QWidget;

namespace korvesta {

class GridView;
class Prompts;
class SettingsStore;

// The grid's look as the user sets it: the font command (ButtonFont), the background
// command (of the options dialog) and, at start, the saved choices applied to the grid and
// the print preview.
class GridLookCommands
{
public:
    struct FontChoice
    {
        QFont font;
        QColor color;
    };
    // Shows the font dialog; nothing when it is cancelled.
    using FontChooser = std::function<std::optional<FontChoice>(const QFont &, const QColor &)>;

    GridLookCommands(QWidget *window, SettingsStore &settings, Prompts &prompts, GridView *grid,
                     QWidget *preview);

    void applySaved();
    // True when the user chose (and the choice was applied and saved).
    bool chooseFont();
    bool chooseBackground();

    // Replaces the font dialog (tests).
    void setFontChooser(FontChooser chooser) { m_chooseFont = std::move(chooser); }

private:
    void setPreviewBackground(const QColor &color);

    QWidget *m_window;         // Not owned.
    SettingsStore &m_settings; // Not owned.
    Prompts &m_prompts;        // Not owned.
    GridView *m_grid;          // Not owned.
    QWidget *m_preview;        // Not owned.
    QFont m_designedFont;      // the grid's font before the user's choice
    FontChooser m_chooseFont;
};

} // namespace korvesta
