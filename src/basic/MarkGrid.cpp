#include "basic/MarkGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>

namespace MarkGrid {

namespace {

class Keys : public QObject {
public:
    Keys(QTableWidget* grid, int col, QString mark) : QObject(grid), grid_(grid), col_(col), mark_(std::move(mark)) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(e)->key();
            if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space) {
                if (grid_->currentRow() >= 0) toggle(grid_, grid_->currentRow(), col_, mark_);
                return true;
            }
        }
        return QObject::eventFilter(o, e);
    }

private:
    QTableWidget* grid_;
    int col_;
    QString mark_;
};

QString cell(const QTableWidget* g, int r, int c) {
    const QTableWidgetItem* it = g->item(r, c);
    return it ? it->text() : QString();
}

} // namespace

void setUp(QTableWidget* grid, int markCol, const QString& mark) {
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->installEventFilter(new Keys(grid, markCol, mark));
    QObject::connect(grid, &QTableWidget::cellDoubleClicked, grid,
                     [grid, markCol, mark](int r, int) { toggle(grid, r, markCol, mark); });
}

void toggle(QTableWidget* grid, int row, int markCol, const QString& mark) {
    if (row < 0 || row >= grid->rowCount() || cell(grid, row, 0).isEmpty()) return;
    const bool on = cell(grid, row, markCol).isEmpty();
    grid->setItem(row, markCol, new QTableWidgetItem(on ? mark : QString()));
}

void markAll(QTableWidget* grid, int markCol, const QString& mark, bool on) {
    for (int r = 0; r < grid->rowCount(); ++r)
        if (!cell(grid, r, 0).isEmpty()) grid->setItem(r, markCol, new QTableWidgetItem(on ? mark : QString()));
}

QStringList marked(const QTableWidget* grid, int markCol, int textCol) {
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        if (!cell(grid, r, markCol).isEmpty()) out << cell(grid, r, textCol);
    return out;
}

} // namespace MarkGrid
