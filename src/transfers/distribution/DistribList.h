#pragma once
#include "transfers/distribution/DistribRound.h"

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// What the distribution work window lists and changes on its rows, as plain
// functions: the listing with its totals, one and bulk amount, deleting a
// row and the Ctrl+F11 transfer-date reset.
namespace DistribList {

struct Selection {
    QString bankCd = QStringLiteral("00"); // "00" every bank
    QStringList itemCds;                   // ticked items (C_ITEM.ItemCd)
    QString snoPrefix;                     // MEdtNo's digits
    QString procDt;                        // yyyymmdd, blank: any
    int procIdx = 0;                       // 0 all, 1 transferred, 2 unprocessed
};

struct Row {
    QString SNo, Nm, ItemCd, BankCd, AcctNo, ExempTy, ReplyTy, ReplyCd, ProcDt, Gcode;
    qint64 Amt = 0;
};

struct Listing {
    bool tableExists = false;
    QList<Row> rows;
    qint64 procCnt = 0, procAmt = 0, nonProcCnt = 0, nonProcAmt = 0;
    qint64 exempCnt = 0, exempAmt = 0; // only the relisting after a result file counts them
    QString wrongGroup; // the plain message when a row is of another group
    QString error;
};
Listing list(const DistribRound::Target& t, const Selection& s);
// The relisting after a result file: every row of the bank (banks 10, 11
// and 12 together) in key order, whatever the other filters; a row that is
// exempt or has no amount counts as exempt.
Listing reload(const DistribRound::Target& t, const QString& bankCd);

// The bank combo: "00.모든은행", then every bank with a distribution account
// of the item group.
QStringList bankEntries(const QString& gcode);
// Every fee item of every group as ItemCd + "." + ItemNm (the bulk amount's
// list).
QStringList allItemLines();

// Refused: a value the amount dialogs would not have passed; caption and
// error are their box, nothing was written.
enum class Outcome { Done, NotFound, Failed, Refused };
struct Result {
    Outcome outcome = Outcome::Failed;
    QString error;
    int rows = 0;
    QString caption;
};
// Shows the box of a refusal.
void showRefusal(const Result& r, QWidget* parent = nullptr);
// One row's amount as typed (whole won, commas allowed); the row is found by
// its key.
Result editAmount(const DistribRound::Target& t, const QString& sno, const QString& itemCd, const QString& nm,
                  const QString& amount);
// Every row of the item whose student number starts with snoPrefix (digits).
Result bulkAmount(const DistribRound::Target& t, const QString& itemLine, const QString& snoPrefix,
                  const QString& amount);
Result deleteRow(const DistribRound::Target& t, const QString& sno, const QString& itemCd, const QString& nm);
// Rows transferred on procDt (not exempt) go back to unprocessed.
Result resetDate(const DistribRound::Target& t, const QString& procDt);

} // namespace DistribList
