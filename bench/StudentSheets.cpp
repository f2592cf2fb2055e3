// The roster's workbook import at 1,000 to 16,000 students and the student
// exports with 10,000.
#include "BenchSupport.h"

#include "basic/StudentExport.h"
#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "platform/sheet/Workbook.h"
#include "students/StudentSheets.h"

#include <QFile>
#include <QHash>

#include <benchmark/benchmark.h>

namespace {

constexpr int kStudents = 10000;

// Student numbers 10101 ... over grades 1-9, classes 01-20, numbers 01-99.
QString sNo(int i) {
    return QStringLiteral("%1%2%3")
        .arg(1 + i / 1980)
        .arg(1 + (i / 99) % 20, 2, 10, QLatin1Char('0'))
        .arg(1 + i % 99, 2, 10, QLatin1Char('0'));
}

QVariantList row(int i) {
    return {sNo(i),
            QStringLiteral("학생%1").arg(i),
            QStringLiteral("1"),
            QStringLiteral("04"),
            QStringLiteral("0123%1").arg(i, 8, 10, QLatin1Char('0')),
            QStringLiteral("보호자%1").arg(i),
            QStringLiteral("20260302"),
            QString(),
            QStringLiteral("7001011234567"),
            QStringLiteral("01012345678"),
            QStringLiteral("1"),
            QStringLiteral("1001013234567")};
}

// An import file of n students, written once per size.
const QString& importFile(int n = kStudents) {
    static QTemporaryDir* dir = new QTemporaryDir;
    static QHash<int, QString> files;
    auto it = files.find(n);
    if (it == files.end()) {
        const QString f = dir->filePath(QStringLiteral("students%1.xlsx").arg(n));
        Workbook wb;
        wb.writeRow(1, 1, {QStringLiteral("학번"), QStringLiteral("성명")});
        for (int i = 0; i < n; ++i)
            wb.writeRow(i + 2, 1, row(i));
        wb.save(f);
        it = files.insert(n, f);
    }
    return *it;
}

void BM_ReadSheet10k(benchmark::State& state) {
    benchInitApp();
    const QString f = importFile();
    for (auto _ : state) {
        const std::optional<SheetTable> t = SheetReader::read(f);
        if (!t || t->rowCount() != kStudents + 1) state.SkipWithError("read failed");
    }
}
BENCHMARK(BM_ReadSheet10k)->Unit(benchmark::kMillisecond);

// The import by size: each row takes a new payer number of the day, so the
// sizes show whether a row's cost grows with the rows before it.
void BM_ImportStudents(benchmark::State& state) {
    benchInitApp();
    const int n = int(state.range(0));
    const QString f = importFile(n);
    for (auto _ : state) {
        state.PauseTiming();
        auto* root = new BenchRoot;
        state.ResumeTiming();
        const SheetRun run = StudentSheets::importStudents(f);
        if (run.stored != n) state.SkipWithError("import failed");
        state.PauseTiming();
        delete root;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportStudents)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(10000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

BenchRoot& filledRoot() {
    static BenchRoot* r = [] {
        auto* b = new BenchRoot;
        StudentSheets::importStudents(importFile());
        return b;
    }();
    return *r;
}

void BM_ExportStudentsXlsx10k(benchmark::State& state) {
    benchInitApp();
    const QString out = filledRoot().path() + QStringLiteral("/StudentData.xlsx");
    for (auto _ : state)
        if (StudentExport::writeWorkbook(out).rows != kStudents) state.SkipWithError("export failed");
}
BENCHMARK(BM_ExportStudentsXlsx10k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportStudentsText10k(benchmark::State& state) {
    benchInitApp();
    const QString out = filledRoot().path() + QStringLiteral("/StudentData.txt");
    for (auto _ : state)
        if (StudentExport::writeText(out).rows != kStudents) state.SkipWithError("export failed");
}
BENCHMARK(BM_ExportStudentsText10k)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
