#pragma once

#include <QColor>
#include <QString>

namespace korvesta {

class GridModel;

// What the "Выборка" command found: the text looked for and how many other data cells read
// the same. A header cell as the current cell finds nothing.
struct ValueSelection
{
    QString text;
    int others = 0;
    bool found = false; // the current cell itself is a data cell and was painted

    // The message that reports the result to the user.
    QString report() const;
};

// The grid's part of "Выборка": paints every data cell whose text equals the current cell's
// text in `color`. The caller asks for the colour and reports the result.
ValueSelection selectByValue(GridModel &grid, const QColor &color);

} // namespace korvesta
