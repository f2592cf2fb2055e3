#pragma once
#include <QString>

class QAbstractItemView;
class QFont;
class QHeaderView;
class QTableView;

// Column widths that show a grid's titles and values whole, measured with
// the grid's own fonts. Widths only grow: a column keeps the width its
// window gave it when that is enough.
namespace GridFit {

// Pixels a cell of the view needs to show text whole in font (its margins
// and the grid line included).
int cellWidth(const QAbstractItemView* view, const QFont& font, const QString& text);
// Pixels a header section needs to show its title whole.
int titleWidth(const QHeaderView* header, const QString& title);

// Widens the column to its title and to sample, the widest value it holds.
void widen(QTableView* table, int column, const QString& sample = QString());
// Widens every shown column to its title and the values of its rows.
void widenToContents(QTableView* table);
// The table's minimum width shows every shown column without scrolling
// sideways (the frame and a vertical scroll bar included).
void showAllColumns(QTableView* table);

} // namespace GridFit
