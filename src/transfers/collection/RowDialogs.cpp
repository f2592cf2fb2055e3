#include "transfers/collection/RowDialogs.h"

#include "platform/ui/Msg.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>

namespace RowDialogs {

void plainBox(const QString& text, QWidget* parent) {
    Msg::show(QCoreApplication::applicationName(), text, MsgIcon::None, MsgButtons::Ok, parent);
}

QLayout* buttonRow(QPushButton* ok, QPushButton* cancel) {
    auto* l = new QHBoxLayout;
    l->addStretch();
    l->addWidget(ok);
    l->addWidget(cancel);
    return l;
}

} // namespace RowDialogs
