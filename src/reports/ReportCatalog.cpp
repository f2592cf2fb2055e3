#include "reports/ReportCatalog.h"

#include "reports/DaySum.h"
#include "reports/EduCertificate.h"
#include "reports/Income.h"
#include "reports/Ledger.h"
#include "reports/Letter.h"
#include "reports/Notices.h"
#include "reports/ReceiptSums.h"
#include "reports/Receipts.h"
#include "reports/Refunds.h"
#include "reports/Resolutions.h"
#include "reports/Unpaid.h"
#include "reports/YearEndTax.h"

namespace ReportCatalog {

namespace {

// A resolution form lists its kept values and prints its page.
ReportEntry resolution(const QString& unit) {
    const ResolutionForm* f = Resolutions::find(unit);
    return {f->name, unit, f->title, [unit](const ReportSelection& s) { return Resolutions::list(unit, s); },
            [unit](const ReportSelection& s, ReportDocument* doc) { return Resolutions::print(unit, s, doc); }};
}

} // namespace

const QList<ReportEntry>& all() {
    // One line per report; the driver's "report list NAME" and "print NAME"
    // come from here.
    static const QList<ReportEntry> entries{
        {QStringLiteral("receipts"), QStringLiteral("P103B00"), QStringLiteral("영수증"), Receipts::list,
         Receipts::print, Receipts::columns()},
        {QStringLiteral("refunds"), QStringLiteral("P401B00"), QStringLiteral("환불내역 조회/출력"), Refunds::list,
         Refunds::print, Refunds::columns()},
        {QStringLiteral("notices"), QStringLiteral("P110B00"), QStringLiteral("납부고지서"), Notices::list,
         Notices::print, Notices::columns()},
        {QStringLiteral("unpaid"), QStringLiteral("P109B00"), QStringLiteral("미납명세서"), Unpaid::list,
         Unpaid::print, Unpaid::columns()},
        {QStringLiteral("letter"), QStringLiteral("P108B00"), QStringLiteral("가정통신문"), Letter::list,
         Letter::print},
        resolution(QStringLiteral("P104B00")),
        resolution(QStringLiteral("P105B00")),
        resolution(QStringLiteral("P106B00")),
        resolution(QStringLiteral("P107B00")),
        {QStringLiteral("daysum"), QStringLiteral("P112B00"), QStringLiteral("수입일계표"), DaySum::list,
         DaySum::print},
        {QStringLiteral("income"), QStringLiteral("P101B00"), QStringLiteral("수입명세서"), Income::list,
         Income::print},
        {QStringLiteral("ledger"), QStringLiteral("P102B00"), QStringLiteral("수납부"), Ledger::list,
         Ledger::print},
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
