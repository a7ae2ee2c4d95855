// A grid's row moved by the keyboard counts as a click on the grid: the page
// then acts on the row the operator sees highlighted.
#pragma once

#include <functional>

class QTableView;

namespace ui {

// Runs `moved` once the grid has handled a key that changed its current row.
void WatchKeyMoves(QTableView* grid, std::function<void()> moved);

}  // namespace ui
