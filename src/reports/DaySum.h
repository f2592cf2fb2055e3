#pragma once
#include "platform/report/ReportDocument.h"
#include "reports/ReportCatalog.h"

// The daily income summary (수입일계표): what every collection round took in
// on one payment date, one line per item group and item, kept in the work
// table M_DAYSUM. Selection: extra "date" (yyyymmdd).

namespace DaySum {

struct Line {
    QString gcode, itemCd, itemNm, kwan, hang;
    qint64 totAmt = 0;
};

// Lines of the printed form; further lines continue on the next page.
constexpr int kFormLines = 20;

// The lines of a payment date over the given round tables, by group and item:
// Amt less REAmt of every row paid on the date, whatever its state; a line
// whose first sum is 0 is not made.
bool collect(const QStringList& tables, const QString& date, QList<Line>* lines, QString* error);
// Rebuilds M_DAYSUM for the date from every collection round, whole or not
// at all: on failure the previous table stays and error says why.
bool build(const QString& date, QString* error);
// M_DAYSUM's lines, by group, then item.
bool lines(QList<Line>* out, QString* error);

// "조회": builds and lists (the grid's six columns, line count, sum).
ReportListing list(const ReportSelection& s);
// The printed form from the grid's rows (columns 2-5 of each) and the date.
ReportDocument printRows(const QList<QStringList>& rows, const QString& date);
std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc);

} // namespace DaySum
