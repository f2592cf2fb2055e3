#pragma once
#include "platform/report/ReportDocument.h"
#include "reports/ReportCatalog.h"

// Unpaid statements (미납명세서): the open rows (not wholly exempt, unpaid) of
// a round range, one statement of twelve lines a student, four a page.
// Selection extras: "deadline" (yyyymmdd), "desc" (footer of students
// without an account), "desc2" (footer of students with one).

namespace Unpaid {

const int kLines = 12;
// The footer the window's two edits start with; a selection without "desc"
// or "desc2" prints it.
inline const QString kFooter = QStringLiteral("통장에 입금하여 주십시요");

bool rows(const ReportSelection& s, QList<RoundRow>* out, std::optional<ReportBox>* box);
// The grid's titles, also before the first listing.
QStringList columns();
ReportListing list(const ReportSelection& s);
std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc);
// The printout of rows already read (the window's last search).
ReportDocument printRows(const QList<RoundRow>& rows, const ReportSelection& s);
// A round whose lowest item group is not gcode is refused by the pick.
bool roundOfGroup(const QString& table, const QString& gcode);

} // namespace Unpaid
