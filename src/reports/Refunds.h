#pragma once
#include "platform/report/ReportDocument.h"
#include "reports/ReportCatalog.h"

// The refund list (환불내역): refunded rows (ReplyTy "3") of one round,
// optionally of one item, a student-number range and a span of refund
// dates. Selection: ym1/seq1 the round, gcode the group; extras "item" (an
// ItemID, empty for all), "redt" and "redt2" (yyyymmdd).

namespace Refunds {

// "전액환불" when the whole amount was refunded, else "부분환불".
QString refundKind(const RoundRow& r);
// The grid's titles, also before the first listing.
QStringList columns();
ReportListing list(const ReportSelection& s);
std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc);
// The printout of listed rows (the rows of the window's last search).
ReportDocument printRows(const QList<RoundRow>& rows, const QString& gcode);

} // namespace Refunds
