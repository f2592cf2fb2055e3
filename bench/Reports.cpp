// Reports: listing the receipts of a range of 12 rounds of 3,000 students,
// and the receipts of 3,000 students laid out and written to PDF.
#include "BenchSupport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/report/ReportDocument.h"
#include "reports/Receipts.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kStudents = 3000;
constexpr int kRounds = 12;

struct Fixture {
    BenchRoot root;

    Fixture() {
        Database::insertRow(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), QStringLiteral("01")},
                                                       {QStringLiteral("ItemID"), QStringLiteral("01")},
                                                       {QStringLiteral("Gcode"), QStringLiteral("01")},
                                                       {QStringLiteral("ItemNm"), QStringLiteral("수업료")},
                                                       {QStringLiteral("ItemAmt"), 50000}});
        DMData->LoadLists();
        for (int r = 1; r <= kRounds; ++r) {
            const QString ss = QStringLiteral("%1").arg(r, 2, 10, QLatin1Char('0'));
            const QString table = QStringLiteral("H_200_202603") + ss;
            DMData->CreateH200(QStringLiteral("202603") + ss);
            Transaction tx;
            Query ins(QStringLiteral("insert into %1 (YearMon, SeqNo, SNo, ItemCd, BankCd, AcctNo, Amt, ProcDt, "
                                     "ReplyTy, ExempTy, CustNo, Nm, SCd, REAmt, Gcode) "
                                     "values ('202603', ?, ?, '01', '04', '12345678901', 50000, '20260320', "
                                     "'1', '1', ?, '학생', '3', 0, '01')")
                          .arg(table));
            for (int s = 0; s < kStudents; ++s) {
                ins.add(ss).add(QStringLiteral("3%1").arg(s, 4, 10, QLatin1Char('0')))
                    .add(QStringLiteral("C%1").arg(s));
                ins.exec();
            }
            tx.commit();
        }
    }
};

Fixture& fixture() {
    benchInitApp();
    static Fixture f;
    return f;
}

ReportSelection range(const QString& last) {
    ReportSelection s;
    s.gcode = QStringLiteral("01");
    s.ym1 = QStringLiteral("202603");
    s.seq1 = QStringLiteral("01");
    s.ym2 = QStringLiteral("202603");
    s.seq2 = last;
    return s;
}

void BM_ReceiptListing12Rounds(benchmark::State& state) {
    fixture();
    for (auto _ : state) {
        const ReportListing l = Receipts::list(range(QStringLiteral("12")));
        benchmark::DoNotOptimize(l.total);
    }
}
BENCHMARK(BM_ReceiptListing12Rounds)->Unit(benchmark::kMillisecond);

void BM_Receipts3000ToPdf(benchmark::State& state) {
    fixture();
    QTemporaryDir out;
    for (auto _ : state) {
        ReportDocument doc;
        Receipts::print(range(QStringLiteral("01")), &doc);
        doc.writePdf(out.path() + QStringLiteral("/r.pdf"));
        state.counters["pages"] = double(doc.pages.size());
    }
}
BENCHMARK(BM_Receipts3000ToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
