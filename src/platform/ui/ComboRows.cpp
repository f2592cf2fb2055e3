#include "platform/ui/ComboRows.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPointer>
#include <QStyleOptionMenuItem>
#include <QStyledItemDelegate>

#include <algorithm>

namespace ComboRows {

namespace {

class DropDownRows : public QStyledItemDelegate {
public:
    explicit DropDownRows(QComboBox* box) : QStyledItemDelegate(box), box_(box) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        if (!box_) return s;
        // The row of a drop-down list is the style's menu item.
        QStyleOptionMenuItem m;
        m.initFrom(box_->view());
        m.font = option.font;
        m.fontMetrics = QFontMetrics(option.font);
        m.text = index.data(Qt::DisplayRole).toString();
        m.menuItemType = QStyleOptionMenuItem::Normal;
        m.checkType = QStyleOptionMenuItem::NotCheckable;
        m.reservedShortcutWidth = 0;
        m.maxIconWidth = 0;
        const QSize row =
            box_->style()->sizeFromContents(QStyle::CT_MenuItem, &m, m.fontMetrics.size(0, m.text), box_);
        s.setHeight(std::max(s.height(), row.height()));
        return s;
    }

private:
    QPointer<QComboBox> box_;
};

} // namespace

void asDropDown(QComboBox* box) {
    box->setItemDelegate(new DropDownRows(box));
}

} // namespace ComboRows
