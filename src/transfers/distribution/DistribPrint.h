#pragma once
#include "shared/StdListV.h"
#include "transfers/distribution/DistribList.h"

#include <memory>

class QDialog;
class QWidget;

// The distribution window's list prints, both titled "배분이체내역조회": the
// flat list (TFrmM102P01) and the list by class, a page per class with its
// figures (TFrmM102P00). They print the rows of the listing made again with
// the window's conditions, so what prints is what was listed.
namespace DistribPrint {

// The panel texts PnlProcCnt, PnlProcAmt, PnlNonProcCnt, PnlNonProcAmt as
// the window shows them ("%.0n ").
struct Totals {
    QString procCnt, procAmt, nonProcCnt, nonProcAmt;
};
Totals totals(const DistribList::Listing& l);

// The listed rows as the forms read them: SNo, Nm, ItemCd, BankCd, AcctNo,
// Amt, ExempTy, ReplyTy, ProcDt.
ReportRows rows(const QList<DistribList::Row>& listed);

// The printed forms of ExempTy ("O", "X") and ReplyTy ("미처리", "처리",
// "현금수납"); any other value prints as stored.
QString exempText(const QString& exempTy);
QString replyText(const QString& replyTy);

// TFrmM102P00 (byClass) or TFrmM102P01, filled.
std::unique_ptr<TFrmStdListV> makeList(bool byClass, const ReportRows& rows, const Totals& t);

// What the work window hands a print: its round, its listing conditions and
// its four panel texts.
struct Request {
    DistribRound::Target round;
    DistribList::Selection selection;
    Totals panels;
};

// The same request read from the work window's properties, for callers that
// reach the prints through the form registry: "yearMon", "seqNo",
// "groupText" (cboGroup's text), "bankCd", "itemCds" (QStringList of
// C_ITEM.ItemCd), "snoPrefix", "procDt", "procIdx" (RGrpProc's index) and
// "panelTotals" (QStringList of the four panel texts).
Request requestFrom(const QObject* window);

// The preview of one list over the request's listing, as a modal dialog to
// run and free; null when the listing has no row (nothing is printed).
// Registered as "M102P00" (by class) and "M102P01" (flat).
QDialog* makePreview(const Request& r, bool byClass, QWidget* parent);

// "인    쇄" of the work window: the print-type dialog (TFrmF201B03), then
// "전체 인쇄" previews TFrmM102P01 and "학년반별 인쇄" TFrmM102P00. Cancel, or
// a listing without rows, prints nothing. A listing that fails shows its
// error.
void printListing(const Request& r, QWidget* parent);

} // namespace DistribPrint
