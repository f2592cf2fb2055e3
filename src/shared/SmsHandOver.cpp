#include "shared/SmsHandOver.h"

namespace SmsHandOver {

namespace {
// Filled from a static registrar, so it must exist before any other static.
Composer& slot() {
    static Composer composer;
    return composer;
}
} // namespace

void setComposer(Composer composer) {
    slot() = std::move(composer);
}

bool compose(const QList<SmsRecipient>& recipients, QWidget* parent) {
    return slot() && slot()(recipients, parent);
}

} // namespace SmsHandOver
