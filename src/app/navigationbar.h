#pragma once

#include <QWidget>

#include <array>

class QToolButton;

namespace korvesta {

// The navigation bar, picLeftPane: a button per section (cmdButton(0..5)) and, between the
// buttons stacked at the top and those at the bottom, the items of the open section
// (picSubView(0..5)) with the scroll buttons cmdScrollUp and cmdScrollDown shown when the
// items do not fit. Every section's items are built once; opening a section only shows
// them.
class NavigationBar : public QWidget
{
    Q_OBJECT

public:
    explicit NavigationBar(QWidget *parent = nullptr);

    int openSection() const { return m_section; }
    // The buttons up to and including `section` move to the top; another section's items
    // show from their first.
    void openSection(int section);
    // Marks the item the window shows (of the open section).
    void setCurrentItem(int item);

    QToolButton *sectionButton(int section) const;
    // nullptr for an item the section does not have.
    QToolButton *itemButton(int section, int item) const;
    QToolButton *scrollUpButton() const { return m_scrollUp; }
    QToolButton *scrollDownButton() const { return m_scrollDown; }
    // The first item of the open section on show (the panel's scroll position).
    int firstVisibleItem() const { return m_firstItem; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void sectionClicked(int section);
    void itemClicked(int item);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildSection(int section);
    void layoutBar();
    void scroll(int items);
    int sectionButtonHeight() const;
    int itemHeight() const;

    std::array<QToolButton *, 6> m_sectionButtons{};
    std::array<QWidget *, 6> m_panels{};  // picSubView(n): the visible part
    std::array<QWidget *, 6> m_contents{}; // the column of items inside it
    QToolButton *m_scrollUp = nullptr;
    QToolButton *m_scrollDown = nullptr;
    int m_section = 0;
    int m_firstItem = 0;
};

} // namespace korvesta
