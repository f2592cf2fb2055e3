#pragma once
#include <functional>

class QAbstractItemView;

// A form beside a grid shows the grid's highlighted row, or a save would
// store the fields onto the row clicked before. A Qt view reports only mouse
// clicks: follow runs the row-click handler also when a key moves the current
// row (arrows, Page Up/Down, Home/End with or without Ctrl, Tab, typing a
// row's first letters). A click keeps its own signal and so runs the handler
// once; Enter is left to the window; a move made by the program runs nothing;
// the focus stays in the grid. In a grid that highlights whole rows Home and
// End go to the first and last row.
namespace RowMove {

void follow(QAbstractItemView* view, std::function<void(int row)> onRow);

} // namespace RowMove
