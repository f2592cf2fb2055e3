#include "shared/CustNoHandOver.h"

namespace CustNoHandOver {

namespace {
// Filled from a static registrar, so it must exist before any other static.
Keeper& slot() {
    static Keeper keeper;
    return keeper;
}
} // namespace

void setKeeper(Keeper keeper) {
    slot() = std::move(keeper);
}

bool rememberCustNo(const QString& custNo) {
    return slot() && slot()(custNo);
}

} // namespace CustNoHandOver
