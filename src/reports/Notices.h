#pragma once
#include "platform/report/ReportDocument.h"
#include "reports/ReportCatalog.h"

// Payment notices (납부고지서): the open rows (not wholly exempt, an amount,
// unpaid) of a round range, either of the students with an account (notices,
// four a page) or of those without one (the cash payment form of four parts,
// one student a page). Quarter 5 is "분기수기입력" (every round, the quarter
// typed by hand). Selection extras: "kind" ("1" 현금이체학생, else
// 자동이체학생), "part" ("1": account shown in part), "year", "bun" (the typed
// quarter, printed whenever given), "sdate" and "edate" (payment period,
// yyyymmdd), "paybank" and "payacct" (where cash students pay), "desc" (the
// footer line).

namespace Notices {

const int kLines = 10; // item lines of a notice block or form part
// The footer the window's edit starts with; a selection without "desc"
// prints it.
inline const QString kFooter = QStringLiteral("자동이체하오니 납부하여 주십시요.");

bool cash(const ReportSelection& s);
// The quarter text printed after "제".
QString quarterText(const ReportSelection& s);
// "yyyy 년 mm 월 dd 일 " of a yyyymmdd text (the words alone when empty).
QString dateWords(const QString& yyyymmdd);
// The account as printed: whole, or (part) all but its last five characters
// followed by "XXXXX".
QString printedAcct(const QString& acctNo, bool part);

bool rows(const ReportSelection& s, QList<RoundRow>* out, std::optional<ReportBox>* box);
// The grid's titles, also before the first listing.
QStringList columns();
ReportListing list(const ReportSelection& s);
std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc);
// The printout of rows already read (the window's last search) with the
// texts of the selection.
ReportDocument printRows(const QList<RoundRow>& rows, const ReportSelection& s);

} // namespace Notices
