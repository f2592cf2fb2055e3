// Transfer history and round totals: one class's history across 300
// collection rounds of 200 rows, and the totals of each of those rounds by
// grade; beside each, the floor of stepping the same rows on SQLite's own
// interface.
#include "BenchSupport.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "van/RoundTotals.h"
#include "van/TransferHistory.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kRounds = 300;   // 30 months of 10 rounds
constexpr int kStudents = 200; // 2 grades of 5 classes of 20

QString sno(int s) {
    return QStringLiteral("%1%2%3")
        .arg(1 + s / 100)
        .arg(1 + (s % 100) / 20, 2, 10, QLatin1Char('0'))
        .arg(1 + s % 20, 2, 10, QLatin1Char('0'));
}

struct Fixture {
    BenchRoot root;
    QStringList tables;

    Fixture() {
        SNoLen = 5;
        for (const char* g : {"1", "2"})
            Database::insertRow(QStringLiteral("C_SCD"), {{QStringLiteral("SCd"), QString::fromLatin1(g)},
                                                          {QStringLiteral("SCdNm"), QString::fromLatin1(g)}});
        Database::insertRow(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), QStringLiteral("01")},
                                                       {QStringLiteral("ItemID"), QStringLiteral("01")},
                                                       {QStringLiteral("Gcode"), QStringLiteral("01")},
                                                       {QStringLiteral("ItemNm"), QStringLiteral("수업료")},
                                                       {QStringLiteral("ItemAmt"), 50000}});
        {
            Transaction tx;
            Query ins(QStringLiteral(
                "insert into M_CUST (CustNo, SCd, SNo, Nm, UseTy) values (?, ?, ?, '학생', '1')"));
            for (int s = 0; s < kStudents; ++s) {
                ins.add(QStringLiteral("C%1").arg(s, 4, 10, QLatin1Char('0')))
                    .add(sno(s).left(1))
                    .add(sno(s));
                ins.exec();
            }
            tx.commit();
        }
        DMData->LoadLists();
        for (int r = 0; r < kRounds; ++r) {
            const QString ym =
                QStringLiteral("%1%2").arg(2024 + r / 120).arg(1 + (r / 10) % 12, 2, 10, QLatin1Char('0'));
            const QString ss = QStringLiteral("%1").arg(1 + r % 10, 2, 10, QLatin1Char('0'));
            DMData->CreateH200(ym + ss);
            tables << QStringLiteral("H_200_") + ym + ss;
            Transaction tx;
            Query ins(
                QStringLiteral("insert into %1 (YearMon, SeqNo, SNo, ItemCd, BankCd, AcctNo, Amt, ProcDt, "
                               "ReplyTy, ExempTy, CustNo, Nm, SCd, REAmt, Gcode) "
                               "values (?, ?, ?, '01', '04', '12345678901', 50000, '20260320', ?, ?, ?, "
                               "'학생', ?, ?, '01')")
                    .arg(tables.last()));
            for (int s = 0; s < kStudents; ++s) {
                const QString state = QString::number(s % 4);
                ins.add(ym)
                    .add(ss)
                    .add(sno(s))
                    .add(state)
                    .add(s % 9 == 0 ? QStringLiteral("0") : QStringLiteral("1"))
                    .add(QStringLiteral("C%1").arg(s, 4, 10, QLatin1Char('0')))
                    .add(sno(s).left(1))
                    .add(qint64(s % 4 == 3 ? 20000 : 0));
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

void BM_HistoryClass300Rounds(benchmark::State& state) {
    fixture();
    TransferHistory::Selection s;
    s.yearFrom = QStringLiteral("2024-01");
    s.yearTo = QStringLiteral("2026-12");
    s.hak = QStringLiteral("1");
    s.ban = QStringLiteral("01");
    for (auto _ : state) {
        TransferHistory::Result r;
        TransferHistory::search(s, &r, nullptr);
        state.counters["rows"] = double(r.rows.size());
        state.counters["tables"] = double(r.tables);
    }
}
BENCHMARK(BM_HistoryClass300Rounds)->Unit(benchmark::kMillisecond);

// Floor: the same rows, one statement per table.
void BM_HistoryFloor(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        qint64 rows = 0;
        for (const QString& t : f.tables)
            rows += floorSelect(QStringLiteral("select * from %1 where substr(SNo, 1, 3) = ?").arg(t),
                                {QStringLiteral("101")});
        state.counters["rows"] = double(rows);
    }
}
BENCHMARK(BM_HistoryFloor)->Unit(benchmark::kMillisecond);

void BM_Totals300RoundsOf200(benchmark::State& state) {
    Fixture& f = fixture();
    const QStringList grades = RoundTotals::gradeEntries();
    for (auto _ : state) {
        qint64 total = 0;
        for (const QString& t : f.tables) {
            RoundTotals::Selection s;
            s.yearMon = t.mid(6, 6);
            s.seqNo = t.mid(12, 2);
            RoundTotals::Result r;
            RoundTotals::run(s, grades, &r, nullptr);
            total += r.total.subAmt();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_Totals300RoundsOf200)->Unit(benchmark::kMillisecond);

void BM_TotalsFloor(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        qint64 rows = 0;
        for (const QString& t : f.tables)
            for (const char* g : {"1", "2"})
                rows += floorSelect(
                    QStringLiteral("select SNo, Amt, ReplyTy, ExempTy, REAmt from %1 where SCd = ?").arg(t),
                    {QString::fromLatin1(g)});
        state.counters["rows"] = double(rows);
    }
}
BENCHMARK(BM_TotalsFloor)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
