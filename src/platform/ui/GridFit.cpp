#include "platform/ui/GridFit.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QSet>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

namespace GridFit {

namespace {

// The item delegate draws the text inside a margin on either side; the grid
// line takes one more pixel of the section.
int cellPadding(const QAbstractItemView* view) {
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return 2 * margin + 2;
}

} // namespace

int cellWidth(const QAbstractItemView* view, const QFont& font, const QString& text) {
    return QFontMetrics(font).horizontalAdvance(text) + cellPadding(view);
}

int titleWidth(const QHeaderView* header, const QString& title) {
    // A section of a selected column draws its title in bold.
    QFont bold = header->font();
    bold.setBold(true);
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    return QFontMetrics(bold).horizontalAdvance(title) + 2 * margin + 2;
}

namespace {

QString titleOf(const QTableView* table, int column) {
    return table->model() ? table->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()
                          : QString();
}

void atLeast(QTableView* table, int column, int width) {
    if (table->columnWidth(column) < width) table->setColumnWidth(column, width);
}

} // namespace

void widen(QTableView* table, int column, const QString& sample) {
    int need = titleWidth(table->horizontalHeader(), titleOf(table, column));
    if (!sample.isEmpty()) need = std::max(need, cellWidth(table, table->font(), sample));
    atLeast(table, column, need);
}

void widenToContents(QTableView* table) {
    const QAbstractItemModel* m = table->model();
    if (!m) return;
    const int rows = m->rowCount();
    const int padding = cellPadding(table);
    const QFontMetrics plain(table->font());
    for (int c = 0; c < m->columnCount(); ++c) {
        if (table->isColumnHidden(c)) continue;
        int need = titleWidth(table->horizontalHeader(), titleOf(table, c));
        // Columns repeat their values (items, banks, states): each text in
        // the grid's own font is measured once.
        QSet<QString> measured;
        for (int r = 0; r < rows; ++r) {
            const QModelIndex i = m->index(r, c);
            const QString text = i.data(Qt::DisplayRole).toString();
            if (text.isEmpty()) continue;
            const QVariant f = i.data(Qt::FontRole);
            int w = 0;
            if (f.isValid()) {
                w = QFontMetrics(f.value<QFont>()).horizontalAdvance(text);
            } else {
                if (measured.contains(text)) continue;
                measured.insert(text);
                w = plain.horizontalAdvance(text);
            }
            need = std::max(need, w + padding);
        }
        atLeast(table, c, need);
    }
}

void showAllColumns(QTableView* table) {
    int sum = 0;
    const QHeaderView* h = table->horizontalHeader();
    for (int c = 0; c < h->count(); ++c)
        if (!table->isColumnHidden(c)) sum += table->columnWidth(c);
    if (table->verticalHeader()->isVisible()) sum += table->verticalHeader()->width();
    const int scroll = table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    table->setMinimumWidth(sum + 2 * table->frameWidth() + scroll + 2);
}

} // namespace GridFit
