#include "reports/ReportCatalog.h"

#include "reports/DaySum.h"
#include "reports/Income.h"
#include "reports/Ledger.h"
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
        {QStringLiteral("daysum"), QStringLiteral("P112B00"), QStringLiteral("수입일계표"), DaySum::list,
         DaySum::print},
        {QStringLiteral("income"), QStringLiteral("P101B00"), QStringLiteral("수입명세서"), Income::list,
         Income::print},
        {QStringLiteral("ledger"), QStringLiteral("P102B00"), QStringLiteral("수납부"), Ledger::list,
         Ledger::print},
    };
    return entries;
}

const ReportEntry* find(const QString& name) {
    for (const ReportEntry& e : all())
        if (e.name == name) return &e;
    return nullptr;
}

} // namespace ReportCatalog
