#include "BenchSupport.h"

#include "students/RosterPrint.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The whole-list roster of 10,000 students: layout only, and layout with the
// PDF written.
void BM_RosterLayout(benchmark::State& state) {
    BenchRoot root;
    const QList<StudentRow> rows = benchStudents(10000);
    int pages = 0;
    for (auto _ : state) {
        const auto report = RosterPrint::make(rows, true, {});
        pages = int(report->layout().pages.size());
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_RosterLayout)->Unit(benchmark::kMillisecond);

void BM_RosterPdf(benchmark::State& state) {
    BenchRoot root;
    const QList<StudentRow> rows = benchStudents(10000);
    QTemporaryDir dir;
    for (auto _ : state) {
        const auto report = RosterPrint::make(rows, true, {});
        if (!report->layout().writePdf(dir.filePath(QStringLiteral("roster.pdf"))))
            state.SkipWithError("pdf not written");
    }
}
BENCHMARK(BM_RosterPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchInitApp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
