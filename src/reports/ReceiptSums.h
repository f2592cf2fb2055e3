#pragma once
#include "reports/ReportCatalog.h"

// Summed receipts (영수증(Sum)): every payment of a period for the chosen
// items of up to two item groups, gathered into the work table
// M_SumReceipt, one receipt per payer listing all of them (30 lines a page,
// a payer with more continues on the next page).
//
// Selection: the student range (hak1 ... bun2), bank, gcode and itemIds
// (item group 1), "group2" and "items2" (item group 2), and the extras
// "sdt", "edt" (first and last payment date yyyymmdd, default the previous
// calendar year), "kind" (0 전체, 1 자동이체, 2 현금수납), "ho", "totitem",
// "bigo" (texts printed on every receipt).

struct ReceiptSumPage {
    QString sNo, nm, acct, hanAmt, totAmt;
    struct Line {
        QString item, amount, date;
    };
    QList<Line> lines; // at most 30
};

namespace ReceiptSums {

inline constexpr int kLines = 30;

// First and last payment date of a selection (yyyymmdd).
QString firstDate(const ReportSelection& s);
QString lastDate(const ReportSelection& s);
// The round tables read: from the month of the first date less 31 days to
// the month of the last date.
QStringList roundTables(const QString& first, const QString& last);
// The search: M_SumReceipt rebuilt, its rows listed by student number and
// payer, then payment date, group and item. source holds the rows.
ReportListing list(const ReportSelection& s);
// Pages of listed rows: a page per payer, a new one after 30 lines.
QList<ReceiptSumPage> paginate(const QList<RoundRow>& rows);
ReportDocument printRows(const QList<RoundRow>& rows, const ReportSelection& s);
std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc);

} // namespace ReceiptSums
