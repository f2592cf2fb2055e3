#include "reports/ReportCatalog.h"

#include "reports/Receipts.h"
#include "reports/Refunds.h"
#include "reports/EduCertificate.h"
#include "reports/ReceiptSums.h"
#include "reports/YearEndTax.h"

namespace ReportCatalog {

const QList<ReportEntry>& all() {
    // One line per report; the driver's "report list NAME" and "print NAME"
    // come from here.
    static const QList<ReportEntry> entries{
        {QStringLiteral("receipts"), QStringLiteral("P103B00"), QStringLiteral("영수증"), Receipts::list,
         Receipts::print},
        {QStringLiteral("refunds"), QStringLiteral("P401B00"), QStringLiteral("환불내역 조회/출력"), Refunds::list,
         Refunds::print},
        // The year-end exports write workbooks, not printouts.
        {QStringLiteral("sumtax"), QStringLiteral("SumTax"), QStringLiteral("연말정산자료생성(분기별)"),
         YearEndTax::quarterly, {}},
        {QStringLiteral("sumtax-mon"), QStringLiteral("SumTax_mon"), QStringLiteral("연말정산자료생성(월별)"),
         YearEndTax::monthly, {}},
        {QStringLiteral("certificate"), QStringLiteral("P111B00"), QStringLiteral("교육비납입증명서"),
         EduCertificate::list, EduCertificate::print},
        {QStringLiteral("receipt-sum"), QStringLiteral("ReceiptSum"), QStringLiteral("영수증(Sum)"), ReceiptSums::list,
         ReceiptSums::print},
    };
    return entries;
}

const ReportEntry* find(const QString& name) {
    for (const ReportEntry& e : all())
        if (e.name == name) return &e;
    return nullptr;
}

} // namespace ReportCatalog
