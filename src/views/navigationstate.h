#pragma once

#include <functional>

namespace korvesta {

// Where the user is: the section of the navigation bar (0..5), the item within it (0..5),
// the view the dispatcher showed last, and whether the entry area holds an existing record.
// The window changes it through the navigation events and then runs the dispatcher.
class NavigationState
{
public:
    int section() const { return m_section; }
    int item() const { return m_item; }
    int viewCode() const { return m_section * 10 + m_item; }
    int previousViewCode() const { return m_previousCode; }
    bool editExisting() const { return m_editExisting; }

    // A section button: the item goes back to 0. True when the section changed (the item
    // panel then shows the other section from its top).
    bool selectSection(int section);
    void selectItem(int item);
    // "Добавить ...": the new-record item of the current section.
    void selectNewRecord() { m_item = 1; }

    // Set by the edit menus that put an existing record into the entry area. The listener
    // hears of each change made here (the window retitles the view); a dispatcher run clears
    // the flag without it, as it retitles the view itself.
    void setEditExisting(bool value)
    {
        m_editExisting = value;
        if (m_editListener)
            m_editListener(value);
    }
    void setEditListener(std::function<void(bool)> listener)
    {
        m_editListener = std::move(listener);
    }

    // The dispatcher's first and fourth steps.
    int beginDispatch();
    void endDispatch(int code) { m_previousCode = code; }

    // The views that add a record into the list of their own section (1, 11, 21, 31).
    static bool isNewRecordView(int code);
    // The list a new-record view adds to (0, 10, 20, 30).
    static int listOfSection(int section) { return section * 10; }

private:
    int m_section = 0;
    int m_item = 0;
    int m_previousCode = 0;
    bool m_editExisting = false;
    std::function<void(bool)> m_editListener;
};

} // namespace korvesta
