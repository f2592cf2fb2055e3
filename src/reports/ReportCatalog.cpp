#include "reports/ReportCatalog.h"

#include "reports/Receipts.h"
#include "reports/Refunds.h"

namespace ReportCatalog {

const QList<ReportEntry>& all() {
    // One line per report; the driver's "report list NAME" and "print NAME"
    // come from here.
    static const QList<ReportEntry> entries{
        {QStringLiteral("receipts"), QStringLiteral("P103B00"), QStringLiteral("영수증"), Receipts::list,
         Receipts::print},
        {QStringLiteral("refunds"), QStringLiteral("P401B00"), QStringLiteral("환불내역 조회/출력"), Refunds::list,
         Refunds::print},
    };
    return entries;
}

const ReportEntry* find(const QString& name) {
    for (const ReportEntry& e : all())
        if (e.name == name) return &e;
    return nullptr;
}

} // namespace ReportCatalog
