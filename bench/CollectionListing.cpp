// Listing a collection round of 36,000 rows with its twelve totals: the plain
// listing, and the work window's listing into its grid and panels.
#include "BenchSupport.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "transfers/common/CollectionListing.h"
#include "transfers/common/KeyEdit.h"
#include "transfers/collection/M101B00.h"

#include <benchmark/benchmark.h>

namespace {

// A large school: 12,000 students with three items each.
constexpr int kStudents = 12000;
constexpr int kItems = 3;

QString itemId(int i) {
    return QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

struct Fixture {
    BenchRoot root;

    Fixture() {
        DMData->CreateH200(QStringLiteral("20240503"));
        Transaction tx;
        for (int i = 0; i < kItems; ++i)
            Database::insertRow(QStringLiteral("C_ITEM"),
                                {{QStringLiteral("ItemCd"), itemId(i)},
                                 {QStringLiteral("ItemID"), itemId(i)},
                                 {QStringLiteral("Gcode"), QStringLiteral("01")},
                                 {QStringLiteral("ItemNm"), QStringLiteral("항목") + itemId(i)},
                                 {QStringLiteral("ItemAmt"), 50000}});
        Query cust(QStringLiteral("insert into M_CUST (CustNo, SNo, Nm, UseTy, MTelNo, smsYN) "
                                  "values (?, ?, '학생', '1', '01012345678', '1')"));
        Query ins(QStringLiteral(
            "insert into H_200_20240503 (YearMon, SeqNo, SNo, ItemCd, BankCd, AcctNo, Amt, ProcDt, ReplyTy, "
            "ReplyCd, ExempTy, CustNo, Nm, SCd, GrpNm, REAmt, ReDt, Gcode) "
            "values ('202405','03',?,?,?,'12345678901',?,?,?,?,?,?,'학생',?,'합창단',?,?,'01')"));
        static const char* banks[] = {"11", "04", "20", "81", "25", "12"};
        for (int s = 0; s < kStudents; ++s) {
            const QString grade = QString::number(1 + s / 4000);
            const QString sno = grade + QStringLiteral("%1").arg(s % 4000, 4, 10, QLatin1Char('0'));
            const QString custNo = QStringLiteral("10000%1").arg(s, 5, 10, QLatin1Char('0'));
            cust.add(custNo).add(sno);
            cust.exec();
            for (int i = 0; i < kItems; ++i) {
                // Every state: unprocessed, failed, transferred, cash, refunds,
                // wholly exempt with and without an amount, partly exempt.
                const int k = (s + i) % 10;
                const QString reply = k < 3    ? QStringLiteral("0")
                                      : k < 6  ? QStringLiteral("1")
                                      : k == 6 ? QStringLiteral("2")
                                      : k == 7 ? QStringLiteral("3")
                                               : QStringLiteral("0");
                const QString exemp = k == 8   ? QStringLiteral("0")
                                      : k == 9 ? QStringLiteral("2")
                                               : QStringLiteral("1");
                const int amt = k == 8 && s % 2 ? 0 : 50000;
                ins.add(sno)
                    .add(itemId(i))
                    .add(QString::fromLatin1(banks[s % 6]))
                    .add(amt)
                    .add(k == 1             ? QStringLiteral("00000000")
                         : k >= 3 && k <= 7 ? QStringLiteral("20240510")
                                            : QString())
                    .add(reply)
                    .add(k == 1             ? QStringLiteral("1007")
                         : k >= 3 && k <= 5 ? QStringLiteral("0000")
                                            : QString())
                    .add(exemp)
                    .add(custNo)
                    .add(grade)
                    .add(k == 7 ? QVariant(s % 2 ? 50000 : 20000) : QVariant())
                    .add(k == 7 ? QStringLiteral("20240520") : QString());
                ins.exec();
            }
        }
        tx.commit();
    }
};

void BM_ListRound(benchmark::State& state) {
    Fixture fx;
    CollectionSelection s;
    s.gcode = QStringLiteral("01");
    s.bankCd = QStringLiteral("00");
    s.yearMon = QStringLiteral("202405");
    s.seqNo = QStringLiteral("03");
    for (auto _ : state) {
        const CollectionListing l = CollectionList::list(
            s, [](const QString& id) { return DMData->GetGItemName(id, QStringLiteral("01")); });
        if (l.rows.size() != kStudents * kItems) state.SkipWithError("rows missing");
        benchmark::DoNotOptimize(l.totals.totAmt());
    }
    state.SetItemsProcessed(state.iterations() * kStudents * kItems);
}
BENCHMARK(BM_ListRound)->Unit(benchmark::kMillisecond);

void BM_ListRoundIntoWindow(benchmark::State& state) {
    Fixture fx;
    TFrmM101B00 w;
    w.MEdtSeqNo->setText(QStringLiteral("03"));
    for (auto _ : state) {
        w.pDispPay();
        if (w.SGrdPay->dataRowCount() != kStudents * kItems) state.SkipWithError("rows missing");
    }
    state.SetItemsProcessed(state.iterations() * kStudents * kItems);
}
BENCHMARK(BM_ListRoundIntoWindow)->Unit(benchmark::kMillisecond);

// The floor of both: the bare SELECT of the same rows, the listing's own
// statement with its bound values.
void BM_ListRound_Floor(benchmark::State& state) {
    Fixture fx;
    CollectionSelection s;
    s.gcode = QStringLiteral("01");
    s.bankCd = QStringLiteral("00");
    s.yearMon = QStringLiteral("202405");
    s.seqNo = QStringLiteral("03");
    const CollectionListing l = CollectionList::list(s, {});
    for (auto _ : state)
        if (floorSelect(l.listSql, l.binds) != kStudents * kItems) state.SkipWithError("rows missing");
    state.SetItemsProcessed(state.iterations() * kStudents * kItems);
}
BENCHMARK(BM_ListRound_Floor)->Unit(benchmark::kMillisecond);

void BM_RelistAfterResult(benchmark::State& state) {
    Fixture fx;
    for (auto _ : state) {
        const CollectionListing l = CollectionList::listTable(QStringLiteral("H_200_20240503"),
                                                              QStringLiteral("00"), QStringLiteral("01"), {});
        if (l.rows.size() != kStudents * kItems) state.SkipWithError("rows missing");
    }
    state.SetItemsProcessed(state.iterations() * kStudents * kItems);
}
BENCHMARK(BM_RelistAfterResult)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
