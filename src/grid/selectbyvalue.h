#pragma once

#include <functional>

namespace korvesta {

class GridModel;
class Prompts;

// The "Выборка" command: asks for a colour (preset with the current cell's back colour),
// paints every data cell whose text equals the current cell's text in that colour, and
// reports how many other cells matched. A cancelled colour choice changes nothing and says
// nothing. `busy` is told when the search starts (true) and ends (false).
void selectByValue(GridModel &grid, Prompts &prompts,
                   const std::function<void(bool)> &busy = {});

} // namespace korvesta
