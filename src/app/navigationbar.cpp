#include "navigationbar.h"

#include "appicons.h"
#include "grid/twips.h"
#include "views/viewtable.h"

#include <QButtonGroup>
#include <QEvent>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>

namespace korvesta {

namespace {

constexpr int kItemIconSize = 32;
constexpr int kSectionButtonTwips = 350;

} // namespace

NavigationBar::NavigationBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picLeftPane"));
    setAttribute(Qt::WA_StyledBackground);
    setAutoFillBackground(true);

    for (int s = 0; s < ViewTable::SectionCount; ++s) {
        const SectionEntry &entry = ViewTable::section(s);
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("cmdButton(%1)").arg(s));
        button->setText(entry.buttonCaption);
        button->setIcon(appIcon(QString::fromLatin1(entry.icon)));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, s] {
            // The open section's button stays down; the window decides what opens.
            m_sectionButtons[std::size_t(m_section)]->setChecked(true);
            if (s != m_section)
                m_sectionButtons[std::size_t(s)]->setChecked(false);
            emit sectionClicked(s);
        });
        m_sectionButtons[std::size_t(s)] = button;
        buildSection(s);
    }

    m_scrollUp = new QToolButton(this);
    m_scrollUp->setObjectName(QStringLiteral("cmdScrollUp"));
    m_scrollUp->setArrowType(Qt::UpArrow);
    m_scrollUp->setAutoRepeat(true);
    m_scrollUp->setToolTip(QStringLiteral("Прокрутить вверх"));
    connect(m_scrollUp, &QToolButton::clicked, this, [this] { scroll(-1); });
    m_scrollDown = new QToolButton(this);
    m_scrollDown->setObjectName(QStringLiteral("cmdScrollDown"));
    m_scrollDown->setArrowType(Qt::DownArrow);
    m_scrollDown->setAutoRepeat(true);
    m_scrollDown->setToolTip(QStringLiteral("Прокрутить вниз"));
    connect(m_scrollDown, &QToolButton::clicked, this, [this] { scroll(1); });

    m_sectionButtons[0]->setChecked(true);
    layoutBar();
}

void NavigationBar::buildSection(int section)
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("picSubView(%1)").arg(section));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setBackgroundRole(QPalette::Dark);
    panel->setAutoFillBackground(true);
    panel->hide();
    auto *content = new QWidget(panel);
    auto *group = new QButtonGroup(content);
    group->setExclusive(true);

    for (const ViewEntry &view : ViewTable::items(section)) {
        auto *button = new QToolButton(content);
        button->setObjectName(QStringLiteral("navView%1").arg(view.code(), 2, 10, QLatin1Char('0')));
        button->setText(view.caption);
        const QString key = QString::fromLatin1(view.key);
        button->setIcon(appIcon(key.isEmpty() ? QStringLiteral("BUSYTIME") : key));
        button->setIconSize(QSize(kItemIconSize, kItemIconSize));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setForegroundRole(QPalette::BrightText);
        group->addButton(button, view.item);
        connect(button, &QToolButton::clicked, this, [this, item = view.item] {
            emit itemClicked(item);
        });
    }
    m_panels[std::size_t(section)] = panel;
    m_contents[std::size_t(section)] = content;
}

QToolButton *NavigationBar::sectionButton(int section) const
{
    if (section < 0 || section >= ViewTable::SectionCount)
        return nullptr;
    return m_sectionButtons[std::size_t(section)];
}

QToolButton *NavigationBar::itemButton(int section, int item) const
{
    const ViewEntry *view = ViewTable::find(section, item);
    if (!view)
        return nullptr;
    return m_contents[std::size_t(section)]->findChild<QToolButton *>(
        QStringLiteral("navView%1").arg(view->code(), 2, 10, QLatin1Char('0')));
}

void NavigationBar::openSection(int section)
{
    if (section < 0 || section >= ViewTable::SectionCount)
        return;
    for (int s = 0; s < ViewTable::SectionCount; ++s)
        m_sectionButtons[std::size_t(s)]->setChecked(s == section);
    if (section != m_section) {
        m_panels[std::size_t(m_section)]->hide();
        m_section = section;
        m_firstItem = 0;
    }
    layoutBar();
}

void NavigationBar::setCurrentItem(int item)
{
    if (QToolButton *button = itemButton(m_section, item))
        button->setChecked(true);
}

int NavigationBar::sectionButtonHeight() const
{
    return std::max(twipsToPixels(kSectionButtonTwips), fontMetrics().height() + 10);
}

int NavigationBar::itemHeight() const
{
    return kItemIconSize + 2 * fontMetrics().lineSpacing() + 16;
}

QSize NavigationBar::sizeHint() const
{
    // The bar is 2000 twips wide, or wider where the captions need it.
    int width = twipsToPixels(2000);
    const QFontMetrics metrics = fontMetrics();
    for (int s = 0; s < ViewTable::SectionCount; ++s) {
        width = std::max(width, metrics.horizontalAdvance(ViewTable::section(s).buttonCaption)
                                    + 40);
        for (const ViewEntry &view : ViewTable::items(s)) {
            for (const QString &line : view.caption.split(QLatin1Char('\n')))
                width = std::max(width, metrics.horizontalAdvance(line) + 36);
        }
    }
    return QSize(width, 400);
}

QSize NavigationBar::minimumSizeHint() const
{
    return QSize(80, ViewTable::SectionCount * sectionButtonHeight());
}

void NavigationBar::layoutBar()
{
    const int width = this->width();
    const int buttonHeight = sectionButtonHeight();
    const int sections = ViewTable::SectionCount;

    for (int s = 0; s < sections; ++s) {
        const int y = s <= m_section ? s * buttonHeight : height() - (sections - s) * buttonHeight;
        m_sectionButtons[std::size_t(s)]->setGeometry(0, y, width, buttonHeight);
    }

    const int top = (m_section + 1) * buttonHeight;
    const int bottom = height() - (sections - 1 - m_section) * buttonHeight;
    QWidget *panel = m_panels[std::size_t(m_section)];
    QWidget *content = m_contents[std::size_t(m_section)];
    panel->setGeometry(0, top, width, std::max(0, bottom - top));
    panel->show();

    const int count = int(ViewTable::items(m_section).size());
    const int step = itemHeight();
    const int margin = 6;
    const int fitting = std::max(1, (panel->height() - 2 * margin) / step);
    m_firstItem = std::clamp(m_firstItem, 0, std::max(0, count - fitting));
    const auto buttons = content->findChildren<QToolButton *>();
    for (QToolButton *button : buttons) {
        const int item = buttons.indexOf(button);
        button->setGeometry(margin, margin + item * step, width - 2 * margin, step - 4);
    }
    content->setGeometry(0, -m_firstItem * step, width, margin * 2 + count * step);

    // The arrows overlay the panel's right edge, each only while there is more that way.
    const int arrow = 18;
    m_scrollUp->setVisible(m_firstItem > 0);
    m_scrollDown->setVisible(m_firstItem + fitting < count);
    m_scrollUp->setGeometry(width - arrow - 4, top + 4, arrow, arrow);
    m_scrollDown->setGeometry(width - arrow - 4, bottom - arrow - 4, arrow, arrow);
    m_scrollUp->raise();
    m_scrollDown->raise();
}

void NavigationBar::scroll(int items)
{
    m_firstItem += items;
    layoutBar();
}

void NavigationBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutBar();
}

void NavigationBar::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0)
        scroll(delta > 0 ? -1 : 1);
    event->accept();
}

void NavigationBar::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        layoutBar();
}

} // namespace korvesta
