#include "BenchSupport.h"

#include "students/RosterPrint.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QList<StudentRow> students(int n) {
    QList<StudentRow> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        StudentRow s;
        s.custNo = QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'));
        s.sNo = QString::number(1 + i / 2000) +
                QStringLiteral("%1").arg(i % 2000 / 40 + 1, 2, 10, QLatin1Char('0')) +
                QStringLiteral("%1").arg(i % 40 + 1, 2, 10, QLatin1Char('0'));
        s.nm = QStringLiteral("학생%1").arg(i);
        s.sex = i % 2 ? QStringLiteral("1") : QStringLiteral("2");
        s.bankCd = QStringLiteral("04");
        s.acctNo = QStringLiteral("1234%1").arg(i, 8, 10, QLatin1Char('0'));
        s.owr = QStringLiteral("보호자%1").arg(i);
        s.useTy = i % 10 ? QStringLiteral("1") : QStringLiteral("0");
        s.inDate = QStringLiteral("20250302");
        out << s;
    }
    return out;
}

// The whole-list roster of 10,000 students: layout only, and layout with the
// PDF written.
void BM_RosterLayout(benchmark::State& state) {
    BenchRoot root;
    const QList<StudentRow> rows = students(10000);
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
    const QList<StudentRow> rows = students(10000);
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
