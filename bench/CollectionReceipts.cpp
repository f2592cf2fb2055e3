#include "BenchSupport.h"

#include "transfers/collection/CollectionPrint.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Receipts of a round of 3,000 students, one page each, laid out and written
// into one PDF.
void BM_Receipts3000(benchmark::State& state) {
    BenchRoot root;
    QTemporaryDir dir;
    const bool two = state.range(0) == 2;
    for (auto _ : state) {
        ReportDocument all;
        for (int i = 0; i < 3000; ++i) {
            const CollectionPrint::Receipt r{QStringLiteral("1%1").arg(i, 4, 10, QLatin1Char('0')),
                                             QStringLiteral("학생%1").arg(i),
                                             QStringLiteral("123456789012"),
                                             QString::number(150000 + i),
                                             QStringLiteral("수업료"),
                                             QStringLiteral("2026-03-25")};
            ReportDocument d = CollectionPrint::makeReceipt(r, two)->layout();
            if (all.pages.isEmpty()) {
                all.setup = d.setup;
                all.title = d.title;
            }
            all.pages << d.pages;
        }
        if (!all.writePdf(dir.filePath(QStringLiteral("receipts.pdf"))))
            state.SkipWithError("pdf not written");
        state.counters["pages"] = int(all.pages.size());
    }
}
BENCHMARK(BM_Receipts3000)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    benchInitApp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
