#include "dlgselectjob.h"

#include "data/prompts.h"
#include "grid/twips.h"
#include "settings/settingsstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace korvesta {

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kHeight = QStringLiteral("dlgSelJobHeight");
const QString kWidth = QStringLiteral("dlgSelJobWidth");
constexpr int KeyRole = Qt::UserRole;
const QColor kBusy(255, 0, 0);
const QColor kGreyed(0xC0, 0xC0, 0xC0);

} // namespace

dlgSelectJob::dlgSelectJob(PlacementChoice &choice, Writer write, Prompts &prompts,
                           SettingsStore &settings, QWidget *parent)
    : QDialog(parent)
    , m_choice(choice)
    , m_write(std::move(write))
    , m_prompts(prompts)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("dlgSelectJob"));
    setWindowTitle(choice.caption);

    auto *frame = new QGroupBox(choice.frameCaption, this);
    frame->setObjectName(QStringLiteral("fraList"));
    m_list = new QTreeWidget(frame);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels(choice.headers);
    m_list->header()->setSectionsClickable(true);
    auto *hint = new QLabel(choice.hint, frame);
    hint->setObjectName(QStringLiteral("lblHint"));
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_list);
    frameLayout->addWidget(hint);

    auto *typeLabel = new QLabel(QStringLiteral("Тип занятия"), this);
    m_types = new QComboBox(this);
    m_types->setObjectName(QStringLiteral("cboTypeLesson"));
    for (const PlacementLessonType &type : choice.lessonTypes)
        m_types->addItem(type.text, type.key);
    typeLabel->setBuddy(m_types);

    auto *audLabel = new QLabel(QStringLiteral("Аудитория"), this);
    m_auds = new QComboBox(this);
    m_auds->setObjectName(QStringLiteral("cboAuds"));
    const std::vector<PlacementAuditorium> free = choice.freeAuditoriums();
    if (free.empty())
        m_auds->addItem(PlacementChoice::noAuditoriumsText(), 0);
    for (const PlacementAuditorium &aud : free)
        m_auds->addItem(aud.text, aud.key);
    m_auds->setCurrentIndex(-1);
    audLabel->setBuddy(m_auds);

    // One auditorium box per slot; by tutor the first serves every group of the lecture.
    auto *boxes = new QWidget(this);
    auto *boxLayout = new QGridLayout(boxes);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    const int slotCount = choice.mode == PlacementMode::Group ? int(choice.picks.size()) - 1 : 1;
    m_audBoxes.assign(size_t(std::max(slotCount, 0)) + 1, nullptr);
    for (int i = 1; i <= slotCount; ++i) {
        auto *box = new QLineEdit(boxes);
        box->setObjectName(QStringLiteral("txtAuditoria(%1)").arg(i));
        if (choice.mode == PlacementMode::Tutor)
            box->setText(choice.initialAuditorium);
        if (choice.mode == PlacementMode::Group)
            connect(box, &QLineEdit::textEdited, this,
                    [this, i](const QString &text) { m_choice.typeAuditorium(i, text); });
        if (slotCount > 1)
            boxLayout->addWidget(new QLabel(QString::number(i), boxes), i - 1, 0);
        boxLayout->addWidget(box, i - 1, 1);
        m_audBoxes[size_t(i)] = box;
    }

    m_pair = new QCheckBox(QStringLiteral("Добавить парное занятие"), this);
    m_pair->setObjectName(QStringLiteral("chkAddDoubleDiscipline"));
    m_pair->setVisible(choice.mode == PlacementMode::Group);
    auto *freeLessons = new QLabel(choice.freeLessonsText, this);
    freeLessons->setObjectName(QStringLiteral("lblFreeLessonsInDay"));

    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("Добавить"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    QPushButton *cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setAutoDefault(false);
    // The placement assistant for the line chosen, in place of this one lesson.
    QPushButton *suggest =
        buttons->addButton(QStringLiteral("Подобрать время"), QDialogButtonBox::ActionRole);
    suggest->setObjectName(QStringLiteral("cmdSuggestTime"));
    suggest->setAutoDefault(false);
    suggest->setVisible(choice.mode == PlacementMode::Group && !choice.auditoriumChange);
    connect(suggest, &QPushButton::clicked, this, [this] {
        m_suggestFor = currentKey();
        if (m_suggestFor > 0)
            reject();
    });

    // An auditorium change keeps the lessons' types and pairs as they are.
    const bool placing = !choice.auditoriumChange;
    typeLabel->setVisible(placing);
    m_types->setVisible(placing);
    freeLessons->setVisible(placing);
    if (!placing)
        m_pair->setVisible(false);

    auto *side = new QVBoxLayout;
    side->addWidget(typeLabel);
    side->addWidget(m_types);
    side->addWidget(audLabel);
    side->addWidget(boxes);
    side->addWidget(m_auds);
    side->addWidget(m_pair);
    side->addStretch();
    side->addWidget(freeLessons);
    auto *top = new QHBoxLayout;
    top->addWidget(frame, 1);
    top->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);

    fillList();
    showSlots();

    connect(m_list, &QTreeWidget::itemChanged, this, &dlgSelectJob::itemChanged);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *item) { currentChanged(item); });
    connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        const int current = currentKey();
        m_choice.sortByColumn(column);
        fillList();
        setCurrentKey(current);
    });
    connect(m_pair, &QCheckBox::toggled, this,
            [this](bool checked) { m_choice.pairChecked = checked; });
    connect(m_auds, &QComboBox::activated, this, [this](int index) {
        const int key = m_auds->itemData(index).toInt();
        if (key == 0)
            return;
        if (m_choice.mode == PlacementMode::Tutor) {
            m_audBoxes[1]->setText(m_auds->itemText(index));
            return;
        }
        const int slot = currentSlot();
        if (slot == 0)
            return;
        m_choice.chooseAuditorium(slot, {key, m_auds->itemText(index), true});
        showSlots();
    });
    connect(m_ok, &QPushButton::clicked, this, &dlgSelectJob::add);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    measureColumns();
    sizeToContent();
    // The list starts on the first line that can be placed, so that Space checks it.
    const auto usable = std::find_if(m_choice.lines.begin(), m_choice.lines.end(),
                                     [](const PlacementLine &line) { return !line.blocked(); });
    if (usable != m_choice.lines.end())
        setCurrentKey(usable->keyJobList);
    m_list->setFocus();
}

dlgSelectJob::~dlgSelectJob()
{
    m_settings.writeInt(kSettings, kHeight, pixelsToTwips(height()));
    m_settings.writeInt(kSettings, kWidth, pixelsToTwips(width()));
}

void dlgSelectJob::fillList()
{
    m_filling = true;
    m_list->clear();
    for (const PlacementLine &line : m_choice.lines) {
        auto *item = new QTreeWidgetItem(m_list, m_choice.columns(line));
        item->setData(0, KeyRole, line.keyJobList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, m_choice.slotOf(line.keyJobList) ? Qt::Checked : Qt::Unchecked);
        const int disciplineCol = m_choice.mode == PlacementMode::Group ? 0 : 1;
        if (line.disciplineColor.isValid()) {
            item->setForeground(disciplineCol, line.disciplineColor);
            item->setForeground(disciplineCol + 1, line.disciplineColor);
        }
        if (line.exhausted && m_choice.jobOverFlow && m_choice.overFlowView) {
            for (int c = 0; c < item->columnCount(); ++c)
                item->setForeground(c, kGreyed);
        }
        if (line.tutorBusy && m_choice.mode == PlacementMode::Group) {
            item->setForeground(2, kBusy);
            item->setIcon(2, style()->standardIcon(QStyle::SP_MessageBoxCritical));
        }
        if (line.groupBusy) {
            for (int c = 0; c < item->columnCount(); ++c)
                item->setForeground(c, kBusy);
        }
        if (!line.tooltip.isEmpty()) {
            for (int c = 0; c < item->columnCount(); ++c)
                item->setToolTip(c, line.tooltip);
        }
    }
    m_filling = false;
}

namespace {

// The columns' shares of the list's width beyond what their texts need; the pair state of a
// line (the last column by group) is never shown.
std::vector<int> columnShares(const PlacementChoice &choice)
{
    if (choice.auditoriumChange)
        return choice.mode == PlacementMode::Group ? std::vector<int>{20, 30, 30, 20}
                                                   : std::vector<int>{30, 20, 35};
    if (choice.mode == PlacementMode::Group)
        return {20, 30, 30, 20, 15, 0};
    return {30, 20, 35, 15};
}

} // namespace

void dlgSelectJob::measureColumns()
{
    const std::vector<int> shares = columnShares(m_choice);
    m_contentWidths.assign(size_t(m_list->columnCount()), 0);
    for (int c = 0; c < m_list->columnCount(); ++c) {
        const bool shown = size_t(c) < shares.size() && shares[size_t(c)] > 0;
        m_list->setColumnHidden(c, !shown);
        if (!shown)
            continue;
        m_list->resizeColumnToContents(c);
        m_contentWidths[size_t(c)] = m_list->columnWidth(c);
    }
}

// Every column gets what its texts need and the rest of the width by its share; a list too
// narrow for the texts narrows each column in proportion to its need.
void dlgSelectJob::fitColumns()
{
    const std::vector<int> shares = columnShares(m_choice);
    const int width = m_list->viewport()->width();
    const int needed = std::accumulate(m_contentWidths.begin(), m_contentWidths.end(), 0);
    int shareTotal = 0;
    for (size_t c = 0; c < m_contentWidths.size() && c < shares.size(); ++c)
        shareTotal += shares[c];
    for (size_t c = 0; c < m_contentWidths.size() && c < shares.size(); ++c) {
        if (shares[c] == 0)
            continue;
        const int column =
            width >= needed ? m_contentWidths[c] + (width - needed) * shares[c] / shareTotal
                            : m_contentWidths[c] * width / std::max(needed, 1);
        m_list->setColumnWidth(int(c), column);
    }
}

// The size kept from the last time, but never smaller than the lines need to be read, nor
// larger than the screen.
void dlgSelectJob::sizeToContent()
{
    const int needed = std::accumulate(m_contentWidths.begin(), m_contentWidths.end(), 0);
    const int listExtra = m_list->frameWidth() * 2 + m_list->verticalScrollBar()->sizeHint().width();
    const int besideList = sizeHint().width() - m_list->sizeHint().width();
    QSize size(std::max(twipsToPixels(m_settings.readInt(kSettings, kWidth, 6480)),
                        needed + listExtra + besideList),
               std::max(twipsToPixels(m_settings.readInt(kSettings, kHeight, 5715)),
                        sizeHint().height()));
    if (const QScreen *shown = screen())
        size = size.boundedTo(shown->availableGeometry().size() * 9 / 10);
    resize(size);
}

void dlgSelectJob::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    fitColumns();
}

void dlgSelectJob::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitColumns();
}

void dlgSelectJob::itemChanged(QTreeWidgetItem *item, int column)
{
    if (m_filling || column != 0)
        return;
    const int key = item->data(0, KeyRole).toInt();
    const bool checked = item->checkState(0) == Qt::Checked;
    if (checked == (m_choice.slotOf(key) != 0))
        return;
    if (checked) {
        if (!m_choice.check(key, m_prompts)) {
            m_filling = true;
            item->setCheckState(0, Qt::Unchecked);
            m_filling = false;
        }
    } else {
        m_choice.uncheck(key);
    }
    // Checking a line with the mouse leaves the current line where it was; the checked line
    // decides OK and the paired lesson all the same.
    if (checked && m_choice.slotOf(key) != 0)
        m_choice.click(key);
    showSlots();
}

int dlgSelectJob::currentKey() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return item ? item->data(0, KeyRole).toInt() : 0;
}

void dlgSelectJob::setCurrentKey(int keyJobList)
{
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_list->topLevelItem(i);
        if (item->data(0, KeyRole).toInt() == keyJobList) {
            m_list->setCurrentItem(item);
            return;
        }
    }
}

void dlgSelectJob::currentChanged(QTreeWidgetItem *item)
{
    if (!item)
        return;
    m_choice.click(item->data(0, KeyRole).toInt());
    showSlots();
}

// The boxes, the paired lesson and OK as the choice has them.
void dlgSelectJob::showSlots()
{
    // By tutor the one box keeps what the user put there.
    for (size_t i = 1; m_choice.mode == PlacementMode::Group && i < m_audBoxes.size(); ++i) {
        if (i < m_choice.picks.size())
            m_audBoxes[i]->setText(m_choice.picks[i].auditorium);
    }
    const QSignalBlocker blocker(m_pair);
    m_pair->setEnabled(m_choice.pairEnabled);
    m_pair->setChecked(m_choice.pairChecked);
    m_ok->setEnabled(m_choice.okEnabled);
}

// The slot the auditorium list fills: that of the current line when it is checked, else the
// first one in use, else the first.
int dlgSelectJob::currentSlot() const
{
    if (const QTreeWidgetItem *item = m_list->currentItem()) {
        if (const int slot = m_choice.slotOf(item->data(0, KeyRole).toInt()))
            return slot;
    }
    for (size_t i = 1; i < m_choice.picks.size(); ++i) {
        if (m_choice.picks[i].keyJobList != 0)
            return int(i);
    }
    return m_choice.picks.size() > 1 ? 1 : 0;
}

void dlgSelectJob::add()
{
    // By tutor the first box is the lecture's auditorium, whatever slot holds a line.
    if (m_choice.mode == PlacementMode::Tutor && m_audBoxes.size() > 1) {
        for (size_t i = 1; i < m_choice.picks.size(); ++i) {
            if (m_choice.picks[i].keyJobList != 0) {
                m_choice.typeAuditorium(int(i), m_audBoxes[1]->text());
                break;
            }
        }
    }
    const PlacementRequest request{m_types->currentData().toInt(), m_pair->isChecked()};
    m_result = m_write(m_choice, request);
    switch (m_result.outcome) {
    case PlacementOutcome::Written:
        accept();
        break;
    case PlacementOutcome::Refused:
        break;
    case PlacementOutcome::Dropped:
    case PlacementOutcome::Failed:
        reject();
        break;
    }
}

} // namespace korvesta
