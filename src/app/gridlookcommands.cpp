#include "gridlookcommands.h"

#include "data/prompts.h"
#include "dlggridfont.h"
#include "grid/gridcolors.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "views/gridappearance.h"

#include <QWidget>

namespace korvesta {

GridLookCommands::GridLookCommands(QWidget *window, SettingsStore &settings, Prompts &prompts,
                                   GridView *grid, QWidget *preview)
    : m_window(window)
    , m_settings(settings)
    , m_prompts(prompts)
    , m_grid(grid)
    , m_preview(preview)
    , m_designedFont(grid->model()->font())
{
    m_chooseFont = [this](const QFont &font, const QColor &color) -> std::optional<FontChoice> {
        dlgGridFont dialog(font, color, m_window);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return FontChoice{dialog.selectedFont(), dialog.selectedColor()};
    };
}

void GridLookCommands::applySaved()
{
    const GridAppearance look = GridAppearance::load(m_settings);
    GridModel &model = *m_grid->model();
    model.setFont(look.applyTo(m_designedFont));
    if (look.foreColor)
        model.setForeColor(colorFromBgr(*look.foreColor));
    if (look.backColorBkg) {
        model.setBackColorBkg(colorFromBgr(*look.backColorBkg));
        setPreviewBackground(colorFromBgr(*look.backColorBkg));
    }
}

bool GridLookCommands::chooseFont()
{
    GridModel &model = *m_grid->model();
    const std::optional<FontChoice> choice = m_chooseFont(model.font(), model.foreColor());
    if (!choice)
        return false;
    model.setFont(choice->font);
    model.setForeColor(choice->color);
    // Multi-line cells need rows of the new font's height.
    m_grid->fitRowsToText();

    GridAppearance look = GridAppearance::load(m_settings);
    look.takeFont(choice->font);
    look.foreColor = bgrFromColor(choice->color);
    look.saveFont(m_settings);
    return true;
}

bool GridLookCommands::chooseBackground()
{
    GridModel &model = *m_grid->model();
    const std::optional<QColor> color = m_prompts.chooseColor(model.backColorBkg());
    if (!color)
        return false;
    model.setBackColorBkg(*color);
    setPreviewBackground(*color);

    GridAppearance look = GridAppearance::load(m_settings);
    look.backColorBkg = bgrFromColor(*color);
    look.saveBackground(m_settings);
    return true;
}

void GridLookCommands::setPreviewBackground(const QColor &color)
{
    QPalette palette = m_preview->palette();
    palette.setColor(QPalette::Window, color);
    m_preview->setPalette(palette);
}

} // namespace korvesta
