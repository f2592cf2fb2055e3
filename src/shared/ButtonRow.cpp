#include "shared/ButtonRow.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace ButtonRow {

QLayout* rightAligned(std::initializer_list<QPushButton*> buttons) {
    auto* l = new QHBoxLayout;
    l->addStretch();
    for (QPushButton* b : buttons)
        l->addWidget(b);
    return l;
}

} // namespace ButtonRow
