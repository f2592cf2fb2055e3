#pragma once
#include "shared/StdListV.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>

// The collection window's printouts: the list of the listed rows (four forms)
// and the receipt of one row (one or two copies).
namespace CollectionPrint {

// What the window hands a list print.
struct ListOptions {
    bool portrait = true;
    bool whole = true;
    int fieldSelCode = 1100; // the two optional columns of a portrait list
    QString group;           // cboGroup's text
    QString gcode;           // its code: item names are looked up in it
    QString yearMon, seqNo;
    QStringList totals; // the ten panel texts, PnlProcCnt .. PnlReAmt2
};

// The rows of the kept listing statement, run again with its bound values:
// SNo, Nm, ItemCd, BankCd, AcctNo, Amt, ExempTy, ReplyTy, ReplyCd, ProcDt,
// CustNo, GrpNm, Unpaid, REAmt, ReDt (named so).
ReportRows listRows(const QString& listSql, const QVariantList& binds, QString* error = nullptr);

// The transfer-date column: reply text, date or code.
QString transferDate(const QString& replyCd, const QString& procDt, const QString& bankCd);
// The first 9 characters of the account and "XXXXX".
QString listAccount(const QString& acctNo);
// "%12.0n " of a value, empty for an empty one.
QString amountText(const QString& value);

// The list form the options choose (TFrmM101P11, P10, P01 or P00), filled;
// null for a portrait field code that names no pair of columns.
std::unique_ptr<TFrmStdListV> makeList(const ListOptions& o, const ReportRows& rows);

// One receipt; the window's refusals come first (receiptRefusal).
struct Receipt {
    QString sNo, nm, acctNo, amount, item, date;
};
// "영수증 발행 대상건이 아닙니다." for a row that gets no receipt.
bool receiptAllowed(const QString& amountText, const QString& replyTy);
// The last four characters of an account replaced by "XXXX".
QString receiptAccount(const QString& acctNo);
// TFrmP103P02 (two copies) or TFrmP103P02_0 (one copy), filled.
std::unique_ptr<TFrmStdListV> makeReceipt(const Receipt& r, bool twoCopies);

} // namespace CollectionPrint
