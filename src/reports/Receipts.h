#pragma once
#include "platform/report/ReportDocument.h"
#include "reports/ReportCatalog.h"

// Receipts (영수증): the paid, not exempt, not wholly refunded rows of a
// round range, one receipt block per student of at most nine lines.
// Selection extras: "date" (payment date yyyymmdd), "kind" (0 전체, 1
// 자동이체, 2 현금수납), "ho", "totitem", "bigo" (free texts), "double" ("1":
// two copies of each receipt).

struct ReceiptLine {
    QString item, amount, date, bigo;
};

struct ReceiptBlock {
    bool used = false;
    QString ho, totItem, sNo, nm, acct, school, hanAmt, totAmt;
    QList<ReceiptLine> lines; // at most 9
};

// One printed page: four blocks (1 top left, 2 top right, 3 and 4 below).
struct ReceiptPage {
    ReceiptBlock blocks[4];
};

namespace Receipts {

// The receipted rows, ordered for the grid and the two-copy form (by group
// before item) or for the four-per-page form (by item alone).
bool rows(const ReportSelection& s, bool byGroup, QList<RoundRow>* out, std::optional<ReportBox>* box);
// The grid's titles, also before the first listing.
QStringList columns();
ReportListing list(const ReportSelection& s);
// Pages of the rows: each student starts a block, nine lines a block; with
// twoCopies a block pair (left school copy, right parent copy) per student.
QList<ReceiptPage> paginate(const QList<RoundRow>& rows, const ReportSelection& s, bool twoCopies);
std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc);

} // namespace Receipts
