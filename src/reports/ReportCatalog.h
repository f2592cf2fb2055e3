#pragma once
#include "platform/report/ReportDocument.h"
#include "reports/ReportSelection.h"

#include <functional>
#include <optional>

// The reports the driver can list and print by name, each with the rows its
// window lists and the printout it previews.

// What a window's search shows: the grid's cells and the totals panels.
struct ReportListing {
    std::optional<ReportBox> box; // a refusal or "no data"
    QStringList columns;
    QList<QStringList> rows;
    qint64 count = 0, total = 0;
    QList<RoundRow> source; // the rows read, in listing order
    QString gcode;          // the item group the listing named its items by
    bool ok() const { return !box; }
};

struct ReportEntry {
    QString name;    // the driver's word: "receipts"
    QString unit;    // the selection window: "P103B00"
    QString caption; // "영수증"
    // The listing of a selection.
    std::function<ReportListing(const ReportSelection&)> list;
    // The printout of a selection; a box instead when there is nothing to
    // print or the selection is refused. Empty for a report that writes a
    // workbook instead of a printout.
    std::function<std::optional<ReportBox>(const ReportSelection&, ReportDocument*)> print;
    // The grid's titles before the first listing; empty when the listing
    // names its own.
    QStringList columns = {};
};

namespace ReportCatalog {
const QList<ReportEntry>& all();
const ReportEntry* find(const QString& name);
} // namespace ReportCatalog
