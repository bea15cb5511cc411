#include "objectpane.h"

#include "appicons.h"
#include "rangecalendar.h"
#include "views/viewcontext.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvesta {

namespace {

constexpr int kEntryRole = Qt::UserRole + 1;

QDateEdit *makePicker(const char *name, QWidget *parent)
{
    auto *picker = new QDateEdit(parent);
    picker->setObjectName(QString::fromLatin1(name));
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    picker->setDate(QDate::currentDate());
    return picker;
}

} // namespace

ObjectPane::ObjectPane(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picMiddlePane"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("TabStrip1"));
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(false);
    // Every tab in sight: the pane is never narrower than its tabs need.
    m_tabs->setUsesScrollButtons(false);
    m_tabs->setElideMode(Qt::ElideNone);
    for (const QString &name : {QStringLiteral("Группы"), QStringLiteral("Дисциплины"),
                                QStringLiteral("Аудитории"), QStringLiteral("Преподаватели")})
        m_tabs->addTab(name);
    layout->addWidget(m_tabs);

    m_periodArea = new QWidget(this);
    m_periodArea->setObjectName(QStringLiteral("picActionControl"));
    auto *periodLayout = new QVBoxLayout(m_periodArea);
    periodLayout->setContentsMargins(0, 0, 0, 0);
    m_pickers = new QGroupBox(QStringLiteral("Период"), m_periodArea);
    m_pickers->setObjectName(QStringLiteral("fraDTPickerPeriod"));
    auto *form = new QFormLayout(m_pickers);
    m_from = makePicker("DTPickerFrom", m_pickers);
    m_to = makePicker("DTPickerTo", m_pickers);
    form->addRow(QStringLiteral("с"), m_from);
    form->addRow(QStringLiteral("по"), m_to);
    periodLayout->addWidget(m_pickers);
    m_monthView2 = new RangeCalendar(m_periodArea);
    m_monthView2->setObjectName(QStringLiteral("MonthView2"));
    m_monthView2->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    periodLayout->addWidget(m_monthView2);
    layout->addWidget(m_periodArea);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("listAction"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setIconSize(QSize(16, 16));
    m_list->header()->setStretchLastSection(true);
    m_list->setHeaderHidden(false);
    layout->addWidget(m_list, 1);
    connect(m_list, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { chooseItem(item); });
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { chooseItem(item); });

    // Typing a date runs through many values; the view follows once the user pauses.
    auto *settle = new QTimer(this);
    settle->setSingleShot(true);
    settle->setInterval(400);
    connect(settle, &QTimer::timeout, this, &ObjectPane::periodChanged);
    for (QDateEdit *picker : {m_from, m_to})
        connect(picker, &QDateEdit::dateChanged, settle, qOverload<>(&QTimer::start));
}

void ObjectPane::showParts(bool tabs, bool pickers, bool secondCalendar, bool list)
{
    m_tabs->setVisible(tabs);
    m_pickers->setVisible(pickers);
    m_monthView2->setVisible(secondCalendar);
    m_periodArea->setVisible(pickers || secondCalendar);
    m_list->setVisible(list);
}

void ObjectPane::setObjects(const ObjectList &objects)
{
    // The same kind of objects again (the free and busy list following the grid's cell):
    // the list stays where the user scrolled it and on the object chosen.
    QStringList shownHeaders;
    if (QTreeWidgetItem *header = m_list->headerItem()) {
        for (int col = 0; col < header->columnCount(); ++col)
            shownHeaders << header->text(col);
    }
    const bool sameKind = !m_entries.empty() && shownHeaders == objects.headers;
    const int scrolled = m_list->verticalScrollBar()->value();
    const ObjectListEntry *current = entryOf(m_list->currentItem());
    const QString currentKey = sameKind && current ? current->key : QString();

    m_list->clear();
    m_entries = objects.entries;
    const int columns = std::max<int>(1, int(objects.headers.size()));
    m_list->setColumnCount(columns);
    m_list->setHeaderLabels(objects.headers);
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(m_entries.size()));
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const ObjectListEntry &entry = m_entries[i];
        auto *item = new QTreeWidgetItem(entry.texts);
        item->setIcon(0, appIcon(entry.icon));
        // A long name is cut at the column's edge; the tooltip shows it whole.
        for (int col = 0; col < entry.texts.size(); ++col)
            item->setToolTip(col, entry.texts[col]);
        if (entry.foreColor.isValid()) {
            for (int col = 0; col < columns; ++col)
                item->setForeground(col, entry.foreColor);
        }
        item->setData(0, kEntryRole, qulonglong(i));
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    if (columns > 1)
        m_list->resizeColumnToContents(0);
    if (!sameKind)
        return;
    for (int i = 0; i < items.size() && !currentKey.isEmpty(); ++i) {
        if (m_entries[std::size_t(i)].key == currentKey) {
            m_list->setCurrentItem(items[i]);
            break;
        }
    }
    m_list->verticalScrollBar()->setValue(scrolled);
}

void ObjectPane::clearObjects()
{
    m_list->clear();
    m_entries.clear();
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({QString()});
}

const ObjectListEntry *ObjectPane::entryOf(const QTreeWidgetItem *item) const
{
    if (!item)
        return nullptr;
    const std::size_t index = item->data(0, kEntryRole).toULongLong();
    return index < m_entries.size() ? &m_entries[index] : nullptr;
}

QString ObjectPane::selectedObjectText() const
{
    const ObjectListEntry *entry = entryOf(m_list->currentItem());
    return entry ? entry->text() : QString();
}

const ObjectListEntry *ObjectPane::selectEntry(const QString &key)
{
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_list->topLevelItem(i);
        const ObjectListEntry *entry = entryOf(item);
        if (entry && entry->key == key) {
            m_list->setCurrentItem(item);
            m_list->scrollToItem(item);
            return entry;
        }
    }
    return nullptr;
}

void ObjectPane::chooseItem(QTreeWidgetItem *item)
{
    if (const ObjectListEntry *entry = entryOf(item))
        emit objectChosen(*entry);
}

} // namespace korvesta
