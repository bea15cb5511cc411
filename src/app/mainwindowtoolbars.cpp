// The two toolbars: Toolbar1 with the commands, and ToolbarView, the sections with their
// views as drop-down menus, shown while the navigation bar is hidden. Buttons are named by
// their keys.

#include "appicons.h"
#include "data/prompts.h"
#include "grid/gridmodel.h"
#include "grid/gridview.h"
#include "grid/selectbyvalue.h"
#include "busyindicator.h"
#include "gridlookcommands.h"
#include "mainwindow.h"
#include "viewdispatcher.h"
#include "views/displaytextmodes.h"
#include "views/frames/entryarea.h"
#include "views/viewtable.h"

#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace korvesta {

namespace {

QToolBar *makeToolbar(const QString &name, const QString &title, QWidget *parent)
{
    auto *toolbar = new QToolBar(title, parent);
    toolbar->setObjectName(name);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->toggleViewAction()->setVisible(false);
    return toolbar;
}

} // namespace

void frmMain::addToolButton(QAction *action, const char *key, const QString &toolTip)
{
    const QString name = QString::fromLatin1(key);
    if (action->objectName().isEmpty())
        action->setObjectName(name);
    // A menu item's action shows its caption in the menu and this text on the button.
    action->setToolTip(toolTip);
    if (action->text().isEmpty())
        action->setText(toolTip);
    m_toolbar->addAction(action);
    m_toolbar->widgetForAction(action)->setObjectName(name);
    m_commands.insert(name, action);
}

void frmMain::createToolbars()
{
    m_toolbar = makeToolbar(QStringLiteral("Toolbar1"), QStringLiteral("Панель инструментов"),
                            this);
    addToolBar(Qt::TopToolBarArea, m_toolbar);

    const auto own = [this](const char *icon, bool checkable = false) {
        auto *action = new QAction(appIcon(QString::fromLatin1(icon)), QString(), this);
        action->setCheckable(checkable);
        return action;
    };
    const auto menuItem = [this](const char *name) { return command(QString::fromLatin1(name)); };

    addToolButton(menuItem("submenuCreateDB"), "ButtonNew", QStringLiteral("Создать новый файл"));
    addToolButton(menuItem("submenuOpenDB"), "ButtonOpen", QStringLiteral("Открыть файл"));
    addToolButton(menuItem("submenuSaveDB"), "ButtonSaveAs", QStringLiteral("Сохранить как..."));
    addToolButton(menuItem("submenuSaveToFile"), "ButtonSave",
                  QStringLiteral("Сохранить таблицу"));
    m_toolbar->addSeparator();
    addToolButton(menuItem("submenuExport"), "ButtonExportToExcel",
                  QStringLiteral("Экспорт в MS Excel"));
    addToolButton(menuItem("submenuPrint"), "ButtonPrint", QStringLiteral("Печать"));
    m_toolbar->addSeparator();
    addToolButton(menuItem("submenuCopyTimeTable"), "ButtonCopy",
                  QStringLiteral("Копировать расписание"));
    addToolButton(menuItem("submenuClearTimeTable"), "ButtonDeleteTable",
                  QStringLiteral("Очистить расписание"));
    m_toolbar->addSeparator();

    QAction *find = own("FIND");
    addToolButton(find, "ButtonFind", QStringLiteral("Выборка"));
    connect(find, &QAction::triggered, this, [this] {
        GridModel &grid = *m_grid->model();
        const std::optional<QColor> color =
            m_prompts.chooseColor(grid.cellBackColor(grid.currentRow(), grid.currentCol()));
        if (!color)
            return;
        m_busy->start(104);
        const ValueSelection found = selectByValue(grid, *color);
        m_busy->stop();
        m_prompts.message(found.report(), Prompts::Icon::Information);
    });
    QAction *totals = own("TOTALS", true);
    addToolButton(totals, "ButtonTotals", QStringLiteral("Показывать итоги"));
    connect(totals, &QAction::triggered, m_dispatcher.get(), &ViewDispatcher::totalsToggled);
    QAction *colors = own("COLOR_ITEM", true);
    addToolButton(colors, "ButtonShowColorItem", QStringLiteral("Отображать данные в цвете"));
    connect(colors, &QAction::triggered, m_dispatcher.get(),
            &ViewDispatcher::colorItemToggled);
    QAction *font = own("FONT");
    addToolButton(font, "ButtonFont", QStringLiteral("Изменить шрифт таблицы"));
    connect(font, &QAction::triggered, this, [this] { m_gridLook->chooseFont(); });
    addToolButton(own("AUD"), "ButtonAud", QStringLiteral("Изменить аудиторию"));
    m_toolbar->addSeparator();

    QAction *expand = own("EXPAND");
    addToolButton(expand, "ButtonUnCollapsed", QStringLiteral("Развернуть"));
    connect(expand, &QAction::triggered, this,
            [this] { collapseOutline(*m_grid->model(), false); });
    QAction *collapse = own("COLLAPSE");
    addToolButton(collapse, "ButtonCollapsed", QStringLiteral("Свернуть"));
    connect(collapse, &QAction::triggered, this,
            [this] { collapseOutline(*m_grid->model(), true); });
    m_toolbar->addSeparator();

    // ButtonView: the button resets the timetable's display mode, its arrow offers them all.
    QAction *view = own("VIEW_TEXT");
    m_displayTextMenu = new QMenu(this);
    m_displayTextMenu->setObjectName(QStringLiteral("ButtonViewMenu"));
    for (const DisplayTextMode &mode : DisplayTextModes::all()) {
        QAction *entry = m_displayTextMenu->addAction(mode.caption);
        entry->setObjectName(mode.key);
        entry->setData(mode.tag);
        entry->setCheckable(true);
        connect(entry, &QAction::triggered, this,
                [this, tag = mode.tag] { m_dispatcher->displayTextChosen(tag); });
    }
    connect(m_displayTextMenu, &QMenu::aboutToShow, this, [this] {
        const int current = m_dispatcher->currentDisplayText();
        for (QAction *entry : m_displayTextMenu->actions())
            entry->setChecked(entry->data().toInt() == current);
    });
    view->setMenu(m_displayTextMenu);
    addToolButton(view, "ButtonView", QStringLiteral("Что отображать в Расписании"));
    static_cast<QToolButton *>(m_toolbar->widgetForAction(view))
        ->setPopupMode(QToolButton::MenuButtonPopup);
    connect(view, &QAction::triggered, m_dispatcher.get(), &ViewDispatcher::displayTextReset);

    // ButtonFilter: its menu is built for the view shown each time it drops down.
    QAction *filter = own("FILTER");
    m_filterMenu = new QMenu(this);
    m_filterMenu->setObjectName(QStringLiteral("ButtonFilterMenu"));
    connect(m_filterMenu, &QMenu::aboutToShow, this, [this] {
        m_filterMenu->clear();
        const QString chosen = m_dispatcher->filter();
        for (const QString &text : m_dispatcher->filterEntries()) {
            if (text == QLatin1String("-")) {
                m_filterMenu->addSeparator();
                continue;
            }
            QAction *entry = m_filterMenu->addAction(text);
            entry->setCheckable(true);
            entry->setChecked(text == chosen);
            connect(entry, &QAction::triggered, this,
                    [this, text] { m_dispatcher->filterChosen(text); });
        }
    });
    filter->setMenu(m_filterMenu);
    addToolButton(filter, "ButtonFilter", QStringLiteral("Фильтр отображаемых данных"));
    static_cast<QToolButton *>(m_toolbar->widgetForAction(filter))
        ->setPopupMode(QToolButton::InstantPopup);
    m_toolbar->addSeparator();

    addToolButton(own("LOCK", true), "ButtonAccessEdit", QStringLiteral("Доступ к редактированию"));
    m_toolbar->addSeparator();
    addToolButton(menuItem("submenuHelp"), "ButtonHelp", QStringLiteral("Помощь"));

    createSectionToolbar();
}

void frmMain::createSectionToolbar()
{
    addToolBarBreak(Qt::TopToolBarArea);
    m_toolbarView = makeToolbar(QStringLiteral("ToolbarView"), QStringLiteral("Разделы"), this);
    m_toolbarView->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    addToolBar(Qt::TopToolBarArea, m_toolbarView);

    for (int s = 0; s < ViewTable::SectionCount; ++s) {
        const SectionEntry &section = ViewTable::section(s);
        auto *button = new QAction(appIcon(QString::fromLatin1(section.icon)),
                                   section.toolbarCaption, this);
        const QString key = QString::fromLatin1(section.toolbarKey);
        button->setObjectName(key);
        button->setData(s); // the button's tag: its section
        button->setCheckable(true);
        auto *menu = new QMenu(this);
        for (const ViewEntry &view : ViewTable::items(s)) {
            if (!view.hasMenuEntry())
                continue;
            QAction *entry = menu->addAction(view.menuCaption);
            entry->setObjectName(QString::fromLatin1(view.menuKey));
            m_commands.insert(entry->objectName(), entry);
            connect(entry, &QAction::triggered, this,
                    [this, menuKey = entry->objectName()] {
                        m_dispatcher->menuKeyChosen(menuKey);
                    });
        }
        button->setMenu(menu);
        m_toolbarView->addAction(button);
        auto *widget = static_cast<QToolButton *>(m_toolbarView->widgetForAction(button));
        widget->setObjectName(key);
        widget->setPopupMode(QToolButton::MenuButtonPopup);
        connect(button, &QAction::triggered, this, [this, button] {
            m_dispatcher->sectionClicked(button->data().toInt());
        });
        m_commands.insert(key, button);
    }
}

} // namespace korvesta
