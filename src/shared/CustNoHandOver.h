#pragma once
#include <QString>

#include <functional>
#include <utility>

// The tools' bulk deletion sits below the students' store, which keeps the
// record of every payer number given (so that a deleted student's number is
// never given again); it reaches that record through this hand-over, which
// the store fills at start.
namespace CustNoHandOver {

// Records a payer number as given; false when it could not be recorded.
using Keeper = std::function<bool(const QString& custNo)>;

void setKeeper(Keeper keeper);
// False when no keeper is registered or it could not record the number.
bool rememberCustNo(const QString& custNo);

} // namespace CustNoHandOver

struct CustNoKeeperRegistrar {
    explicit CustNoKeeperRegistrar(CustNoHandOver::Keeper keeper) {
        CustNoHandOver::setKeeper(std::move(keeper));
    }
};
