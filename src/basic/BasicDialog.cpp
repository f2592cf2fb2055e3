#include "basic/BasicDialog.h"

#include "platform/ui/GridFit.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>

BasicDialog::BasicDialog(QWidget* parent) : QDialog(parent) {}

void BasicDialog::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (auto* b = qobject_cast<QAbstractButton*>(focusWidget()))
            b->click();
        else
            focusNextChild();
        return;
    }
    QDialog::keyPressEvent(e);
}

void BasicDialog::setUpGrid(QTableWidget* grid, const QStringList& headers, const QList<int>& widths) {
    grid->setColumnCount(int(headers.size()));
    grid->setHorizontalHeaderLabels(headers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    for (int i = 0; i < widths.size() && i < headers.size(); ++i)
        grid->setColumnWidth(i, widths[i]);
}

void BasicDialog::fillGrid(QTableWidget* grid, const QList<QStringList>& rows, const QList<int>& amounts) {
    grid->clearContents();
    grid->setRowCount(rows.isEmpty() ? 1 : int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size() && c < grid->columnCount(); ++c)
            grid->setItem(r, c,
                          amounts.contains(c) ? GridFit::figureItem(rows[r][c])
                                              : new QTableWidgetItem(rows[r][c]));
    GridFit::widenToRows(grid, rows, amounts);
}
