#pragma once
#include "transfers/common/RowEdits.h"

#include <functional>
#include <optional>

class QWidget;

// The collection window's row edits as its handlers run them: the checks of
// the round's request files, the questions and refusals, the dialog (a
// callback: the window shows the real one, the driver fills it from its
// arguments) and the change. The window relists or sets the cell as told.
namespace RowEditFlow {

struct AccountInput {
    QString bankEntry, acctNo;
};
// What the bulk-amount dialog hands back (the current row's name and state
// are added by the flow).
using BulkInput = RowEdit::BulkAmount;

struct Dialogs {
    // TfrmDelFile on the waiting files; false when cancelled.
    std::function<bool(const QStringList& files)> delFile;
    std::function<std::optional<QString>(const RowEdit::Row&)> amount;        // TFrmM101B11, as typed
    std::function<std::optional<QString>(const RowEdit::Row&)> unpaid;        // TFrmM101B12
    std::function<std::optional<QString>()> bigo;                             // TFrmM101B00_01
    std::function<std::optional<AccountInput>(const RowEdit::Row&)> account;  // TFrmM101B09
    std::function<std::optional<RowEdit::StatusChange>(const RowEdit::Row&)> status; // TFrmM101B06
    std::function<std::optional<BulkInput>(const RowEdit::Row&)> bulk;       // TFrmM101B03
};

struct After {
    enum Kind { Nothing, Relist, SetCell } kind = Nothing;
    int col = -1;
    QString text; // SetCell: the cell's new text
};

// The waiting-file offer: true when the edit may go on (no waiting file, or
// its files were deleted).
bool waitingOffer(const RowEdit::Round& r, const RowEdit::Row& row, const Dialogs& d, QWidget* parent);

// SGrdPayDblClick on a column of the row.
After dblClick(const RowEdit::Round& r, const RowEdit::Row& row, int col, const Dialogs& d, QWidget* parent);
// "금액수정" (F).
After bulkAmount(const RowEdit::Round& r, const RowEdit::Row& row, const Dialogs& d, QWidget* parent);
// "현금수납" (bbtnSuNapClick).
After changeStatus(const RowEdit::Round& r, const RowEdit::Row& row, const Dialogs& d, QWidget* parent);

} // namespace RowEditFlow
