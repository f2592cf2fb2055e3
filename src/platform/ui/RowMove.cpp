#include "platform/ui/RowMove.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPointer>

namespace {

bool movesRow(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    // Typed text finds a row by its first letters (the view's keyboard search).
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString t = e->text();
    return !t.isEmpty() && t.at(0).isPrint();
}

class Follower : public QObject {
public:
    Follower(QAbstractItemView* view, std::function<void(int)> onRow)
        : QObject(view), view_(view), onRow_(std::move(onRow)) {
        view->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != view_) return false;
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            // In a grid that highlights whole rows Home and End go to the first
            // and last row, as Ctrl+Home and Ctrl+End do: a move between
            // columns would show nothing.
            if ((key->key() == Qt::Key_Home || key->key() == Qt::Key_End) &&
                view_->selectionBehavior() == QAbstractItemView::SelectRows)
                key->setModifiers(key->modifiers() | Qt::ControlModifier);
            // Armed only while the view handles the key: its move is made and
            // the current row reported before the press returns.
            armed_ = movesRow(key);
            if (armed_) watch();
        } else if (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusOut) {
            armed_ = false;
        }
        return false;
    }

private:
    // The view may have been given a new model (and selection model) since
    // the last key.
    void watch() {
        QItemSelectionModel* m = view_->selectionModel();
        if (m == model_) return;
        if (model_) disconnect(model_, nullptr, this, nullptr);
        model_ = m;
        if (m)
            connect(m, &QItemSelectionModel::currentRowChanged, this,
                    [this](const QModelIndex& now, const QModelIndex&) { moved(now); });
    }

    void moved(const QModelIndex& now) {
        if (!armed_ || !now.isValid()) return;
        // One key, one handler run, even if the handler itself moves the row.
        armed_ = false;
        onRow_(now.row());
    }

    QAbstractItemView* view_;
    std::function<void(int)> onRow_;
    QPointer<QItemSelectionModel> model_;
    bool armed_ = false;
};

} // namespace

namespace RowMove {

void follow(QAbstractItemView* view, std::function<void(int row)> onRow) {
    if (view && onRow) new Follower(view, std::move(onRow));
}

} // namespace RowMove
