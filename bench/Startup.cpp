#include "BenchSupport.h"

#include "data/DMMain.h"
#include "frame/Startup.h"
#include "platform/db/Database.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kStudents = 10000;
constexpr int kRounds = 300;
constexpr int kRowsPerRound = 5;

// Fills the root once: students in M_CUST and collection round tables.
void fill() {
    Transaction t;
    Query cust(QStringLiteral(
        "INSERT INTO \"M_CUST\" (\"CustNo\", \"SCd\", \"SNo\", \"Nm\", \"BankCd\", \"AcctNo\", "
        "\"UseTy\") VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < kStudents; ++i) {
        cust.add(QStringLiteral("26031600%1").arg(i, 4, 10, QLatin1Char('0')))
            .add(QStringLiteral("01"))
            .add(QStringLiteral("%1").arg(10101 + i, 6, 10, QLatin1Char('0')))
            .add(QStringLiteral("학생%1").arg(i))
            .add(QStringLiteral("04"))
            .add(QStringLiteral("1234567890%1").arg(i % 100000, 5, 10, QLatin1Char('0')))
            .add(QStringLiteral("0"));
        cust.exec();
    }
    for (int r = 0; r < kRounds; ++r) {
        const QString ym = QStringLiteral("%1%2").arg(2001 + r / 12).arg(r % 12 + 1, 2, 10, QLatin1Char('0'));
        const QString suffix = ym + QStringLiteral("01");
        DMData->CreateH200(suffix);
        Query row(QStringLiteral("INSERT INTO %1 (\"YearMon\", \"SeqNo\", \"SNo\", \"ItemCd\", \"Amt\") "
                                 "VALUES (?, ?, ?, ?, ?)")
                      .arg(Database::quoted(QStringLiteral("H_200_") + suffix)));
        for (int i = 0; i < kRowsPerRound; ++i) {
            row.add(ym)
                .add(QStringLiteral("01"))
                .add(QStringLiteral("%1").arg(10101 + i))
                .add(QStringLiteral("01"));
            row.add(10000);
            row.exec();
        }
    }
    t.commit();
}

BenchRoot& root() {
    static BenchRoot r;
    static const bool filled = [] {
        fill();
        Startup::destroyServices();
        return true;
    }();
    (void)filled;
    return r;
}

// Start-up services on an existing root: data root and folders, the database
// connection, the table checks (with the M_CUST index rebuilt), layout
// changes and the cached lists; then their release.
void BM_StartupServices(benchmark::State& state) {
    const QString path = root().path();
    for (auto _ : state) {
        QString error;
        if (!Startup::createServices(path, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
        Startup::destroyServices();
    }
    // What the root holds, to see that the fixture is what it claims.
    Startup::createServices(path, nullptr);
    Query n(QStringLiteral("SELECT COUNT(*) FROM \"M_CUST\""));
    state.counters["students"] = n.exec() && n.next() ? double(n.num(0)) : -1;
    state.counters["rounds"] = double(Database::listTables(QStringLiteral("H_200_*")).size());
    Startup::destroyServices();
}
BENCHMARK(BM_StartupServices)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
