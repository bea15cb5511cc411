#pragma once

#include "data/queries.h"
#include "editing/referenceeditor.h"
#include "grid/gridmodel.h"
#include "interaction/editingtargets.h"
#include "interaction/gridrouter.h"
#include "interaction/interactionhost.h"
#include "settings/settingsrecord.h"
#include "support/documentfixture.h"
#include "views/headlessviews.h"

#include <gtest/gtest.h>

namespace korvesta {

// The window around the grid, as the router sees it: the dispatcher runs the real fills.
class TestHost : public InteractionHost
{
public:
    explicit TestHost(HeadlessViews &views) : m_views(views) {}

    void refresh() override
    {
        m_views.refresh();
        ++refreshes;
    }
    QDate calendarDate() const override { return m_views.date; }
    void showContextMenu(EditMenu which, const ContextMenuState &state) override
    {
        menu = which;
        menuState = state;
    }
    void repeatObjectClick() override { ++objectClicks; }

    int refreshes = 0;
    int objectClicks = 0;
    EditMenu menu = EditMenu::None;
    ContextMenuState menuState;

private:
    HeadlessViews &m_views;
};

// The editing not built yet, recording what it was asked.
class RecordingTargets : public EditingTargets
{
public:
    bool assignLessonByGroup(int row, int col, const QDate &date) override
    {
        calls << QStringLiteral("group %1 %2 %3").arg(row).arg(col).arg(date.toString(Qt::ISODate));
        return true;
    }
    bool saveExamDate(int row, const QDate &date) override
    {
        calls << QStringLiteral("exam %1 %2").arg(row).arg(date.toString(Qt::ISODate));
        return true;
    }
    void clearLessonCell(int row, int col, const QDate &date) override
    {
        calls << QStringLiteral("clear %1 %2 %3").arg(row).arg(col).arg(date.toString(Qt::ISODate));
    }
    bool editLoadHours(int row) override
    {
        calls << QStringLiteral("hours %1").arg(row);
        return true;
    }
    QStringList calls;
};

// The sample institution in a document, the window's state around a grid, and the router.
class RouterTest : public DocumentTest
{
protected:
    // Shows a view as the navigation bar does.
    void show(int section, int item)
    {
        navigation.selectSection(section);
        navigation.selectItem(item);
        host.refresh();
    }
    void moveTo(int row, int col)
    {
        grid.setCurrentCell(row, col);
        router.currentCellChanged();
    }
    QStringList messages() const { return prompts.texts(ScriptedPrompts::Kind::Message); }
    qint64 count(const QString &sql) const { return b.rawNumber(sql); }

    SampleInstitution s = SampleInstitution::build(b);
    SettingsRecord settings;
    GridModel grid;
    HeadlessViews views{grid, session, store, settings, prompts};
    NavigationState &navigation = views.navigation();
    DocumentQueries queries{session, store, prompts};
    ReferenceEditor editor{session, settings, prompts};
    RecordingTargets targets;
    TestHost host{views};
    GridRouter router{grid, navigation, settings, prompts, queries, editor, targets, host};
};

} // namespace korvesta
