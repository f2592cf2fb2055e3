#include "transfers/common/RowDialogs.h"

#include "platform/ui/Msg.h"

#include <QCoreApplication>

namespace RowDialogs {

void plainBox(const QString& text, QWidget* parent) {
    Msg::show(QCoreApplication::applicationName(), text, MsgIcon::None, MsgButtons::Ok, parent);
}

} // namespace RowDialogs
