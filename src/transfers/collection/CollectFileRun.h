#pragma once
#include "transfers/common/BatFile.h"

#include <functional>

// What the collection work window's "파일작성" button does, on values: the
// window fills a CollectSelection from its controls, calls
// bCheckFileCreate on the click and, if that passes, TimeShowTimer from its
// one-shot timer so that it repaints first.
namespace CollectFileRun {

// The school has a collection account at the bank (any item group).
bool bHasCollectAcct(const QString& bankCd);
// False (after its box) while the round's first file for the bank was sent
// and its result has not come back.
bool bNotAwaitingResult(const CollectSelection& sel);
// The click's three checks; hasUnprocRow tells whether the grid as last
// listed holds an unprocessed row. False after the box of the first that
// fails.
bool bCheckFileCreate(const CollectSelection& sel, bool hasUnprocRow);

struct Totals {
    qint64 Count = 0;
    qint64 Amount = 0;
};
// Count and sum of the rows the file will carry under the window's bank,
// student-number, item and group selection.
Totals pSetFileCountSql(const CollectSelection& sel);

// The account lines of the bank and item group, with their education codes.
struct AccountChoice {
    QStringList AcctLines;
    QStringList EduCodes;
};
AccountChoice CollectAccounts(const QString& bankCd, const QString& gcode);

// What the transfer-date dialog is filled with.
struct DateDialogInput {
    QString BankCd;
    AccountChoice Accounts;
    Totals Sums;
};
// Shows the dialog and on OK puts the dates, the account line and the
// education code into sel. False unless the dialog was confirmed.
using DateAsker = std::function<bool(const DateDialogInput&, CollectSelection& sel)>;
bool AskDates(const DateDialogInput& in, CollectSelection& sel); // TFrmM101B04

struct Outcome {
    bool Written = false;
    QString FileName;
    int DataCnt = 0;
    Totals Sums;
};
// The deferred run: dates, weekend refusal, writing, booking and job log.
// writing(true) comes once the dates are settled and the file is being
// written, writing(false) when that is over (before the closing box).
Outcome TimeShowTimer(CollectSelection& sel, const DateAsker& ask = AskDates,
                      const std::function<void(bool)>& writing = {});

// Books a written request file ("S", no send date). False when the row
// could not be written.
bool pBookRequestFile(const QString& fileName, int dataCnt, const QString& gcode);

} // namespace CollectFileRun
