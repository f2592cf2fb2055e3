#pragma once
#include <QStringList>

class QTableWidget;

// Selection grids with a mark column: double-click, Enter or Space on a row
// toggles its mark " ◎" / "◎".
namespace MarkGrid {

// Sets the grid up (row selection, read only) and makes markCol toggle.
void setUp(QTableWidget* grid, int markCol, const QString& mark);
void toggle(QTableWidget* grid, int row, int markCol, const QString& mark);
void markAll(QTableWidget* grid, int markCol, const QString& mark, bool on);
// Column textCol of the marked rows, top to bottom.
QStringList marked(const QTableWidget* grid, int markCol, int textCol);

} // namespace MarkGrid
