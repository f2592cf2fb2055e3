#pragma once
#include "basic/AccountStore.h"
#include "basic/GradeStore.h"
#include "basic/GroupStore.h"
#include "basic/ItemStore.h"

#include <optional>

class QWidget;

// The button actions of the registration dialogs: the store call with its
// questions and boxes (through Msg). The dialogs and zq-driver both run
// them, so a save from the driver asks and answers exactly as the dialog.
struct ActionResult {
    bool done = false; // something was stored or deleted
    int focus = 0;     // the store's field that gets the focus back, 0 for none
};

namespace GradeActions {
ActionResult save(const GradeRow& g, QWidget* parent = nullptr);
// Asks first; deletes on Yes.
ActionResult remove(const QString& code, QWidget* parent = nullptr);
} // namespace GradeActions

namespace GroupActions {
// Refuses when every group code is in use; otherwise the proposed code.
std::optional<QString> newCode(QWidget* parent = nullptr);
ActionResult save(const GroupRow& g, const QString& shownName, QWidget* parent = nullptr);
ActionResult remove(const QString& code, const QString& shownName, QWidget* parent = nullptr);
} // namespace GroupActions

namespace ItemActions {
// Saves; after an amount change offers to carry it into the exemptions.
ActionResult save(const ItemInput& in, QWidget* parent = nullptr);
// Asks first; nothing happens without an item ("00" is the placeholder).
ActionResult remove(const QString& itemCd, const QString& shownItemId, QWidget* parent = nullptr);
} // namespace ItemActions

namespace AccountActions {
// The exit check of the account number; false after its error box.
bool checkAcctNo(const QString& bankCd, const QString& acctNo, QWidget* parent = nullptr);
ActionResult save(const AcctInput& in, QWidget* parent = nullptr);
// Refuses the representative account, then asks; deletes on Yes.
ActionResult remove(const AcctInput& typed, const std::optional<AcctRow>& shown, QWidget* parent = nullptr);
} // namespace AccountActions
