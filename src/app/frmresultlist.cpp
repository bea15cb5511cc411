#include "frmresultlist.h"

#include "data/prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace korvesta {

frmResultList::frmResultList(const QString &caption, const QString &summary,
                             const QStringList &headings, const std::vector<QStringList> &rows,
                             Prompts &prompts, QWidget *parent)
    : QDialog(parent)
    , m_list(new QTreeWidget(this))
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmResultList"));
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(summary, this);
    label->setObjectName(QStringLiteral("lblSummary"));
    label->setWordWrap(true);
    layout->addWidget(label);

    m_list->setObjectName(QStringLiteral("lvResult"));
    m_list->setRootIsDecorated(false);
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHeaderLabels(headings);
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(rows.size()));
    for (const QStringList &row : rows) {
        auto *item = new QTreeWidgetItem(row);
        for (int i = 0; i < row.size(); ++i)
            item->setToolTip(i, row[i]);
        items << item;
    }
    m_list->addTopLevelItems(items);
    // The given order until a heading is clicked; each click on it reverses its order.
    QHeaderView *header = m_list->header();
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, [this, header](int column) {
        const Qt::SortOrder order =
            header->isSortIndicatorShown() && header->sortIndicatorSection() == column
                    && header->sortIndicatorOrder() == Qt::AscendingOrder
                ? Qt::DescendingOrder
                : Qt::AscendingOrder;
        header->setSortIndicatorShown(true);
        header->setSortIndicator(column, order);
        m_list->sortItems(column, order);
    });
    for (int i = 0; i < headings.size(); ++i)
        m_list->resizeColumnToContents(i);
    layout->addWidget(m_list, 1);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *copy =
        buttons->addButton(QStringLiteral("Копировать"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("cmdCopy"));
    QPushButton *saveButton =
        buttons->addButton(QStringLiteral("Сохранить..."), QDialogButtonBox::ActionRole);
    saveButton->setObjectName(QStringLiteral("cmdSave"));
    QPushButton *close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setDefault(true);
    connect(copy, &QPushButton::clicked, this, &frmResultList::copyToClipboard);
    connect(saveButton, &QPushButton::clicked, this, &frmResultList::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    int width = 40;
    for (int i = 0; i < headings.size(); ++i)
        width += m_list->columnWidth(i);
    resize(std::clamp(width, 480, 1100), 420);
}

QString frmResultList::text() const
{
    QStringList lines;
    QStringList headings;
    for (int i = 0; i < m_list->columnCount(); ++i)
        headings << m_list->headerItem()->text(i);
    lines << headings.join(QLatin1Char('\t'));
    for (int r = 0; r < m_list->topLevelItemCount(); ++r) {
        const QTreeWidgetItem *item = m_list->topLevelItem(r);
        QStringList cells;
        for (int i = 0; i < m_list->columnCount(); ++i)
            cells << item->text(i);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void frmResultList::copyToClipboard()
{
    QApplication::clipboard()->setText(text());
}

void frmResultList::save()
{
    Prompts::FileChoice choice;
    choice.title = QStringLiteral("Сохранить список");
    choice.proposedName = QStringLiteral("Пропущенные занятия.txt");
    choice.filter = QStringLiteral("Текст с табуляцией (*.txt)");
    const std::optional<QString> path = m_prompts.chooseFileToSave(choice);
    if (!path)
        return;
    QSaveFile file(*path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text().toUtf8()) < 0 || !file.commit())
        m_prompts.message(QStringLiteral("Не удалось записать файл «%1»: %2")
                              .arg(*path, file.errorString()),
                          Prompts::Icon::Warning);
}

} // namespace korvesta
