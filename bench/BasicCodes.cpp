// The fee-item dialog's heavier steps on a school-sized data folder: carrying
// an amount change into 36,000 exemptions, and saving a new item into a
// table of 90 items.
#include "BenchSupport.h"

#include "basic/ItemStore.h"
#include "platform/db/Database.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kStudents = 3000;
constexpr int kItems = 12;

QString two(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

void BM_CarryAmountIntoExemptions(benchmark::State& state) {
    benchInitApp();
    BenchRoot root;
    {
        Transaction tx;
        for (int s = 0; s < kStudents; ++s)
            for (int i = 1; i <= kItems; ++i)
                Database::insertRow(
                    QStringLiteral("M_EXEMP"),
                    {{QStringLiteral("CustNo"), QStringLiteral("10000%1").arg(s, 5, 10, QLatin1Char('0'))},
                     {QStringLiteral("ItemCd"), two(i)},
                     {QStringLiteral("Itemval"), qint64(s % 2 ? 30000 : 15000)}});
        tx.commit();
    }
    qint64 from = 30000, to = 32000;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ItemStore::carryAmount(QStringLiteral("03"), from, to, QStringLiteral("(bench) ")));
        std::swap(from, to);
    }
    state.SetItemsProcessed(state.iterations() * kStudents * kItems);
}
BENCHMARK(BM_CarryAmountIntoExemptions)->Unit(benchmark::kMillisecond);

void BM_SaveNewItem(benchmark::State& state) {
    benchInitApp();
    BenchRoot root;
    {
        Transaction tx;
        Database::insertRow(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), QStringLiteral("00")}});
        for (int i = 1; i <= 90; ++i)
            Database::insertRow(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), two(i)},
                                                           {QStringLiteral("ItemID"), two(i)},
                                                           {QStringLiteral("ItemNm"), QStringLiteral("항목")},
                                                           {QStringLiteral("ItemAmt"), qint64(1000)},
                                                           {QStringLiteral("Gcode"), QStringLiteral("02")}});
        tx.commit();
    }
    for (auto _ : state) {
        ItemInput in;
        in.itemId = QStringLiteral("05");
        in.name = QStringLiteral("급식비");
        in.amount = QStringLiteral("30,000");
        in.gcode = QStringLiteral("01");
        const auto r = ItemStore::save(in);
        state.PauseTiming();
        ItemStore::remove(r.itemCd, in.itemId);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SaveNewItem)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
