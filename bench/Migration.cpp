// Start-up layout changes and the rebuild of old collection round tables on
// a data root of an older version: an old student table, old items, and
// round tables of the 14-field layout with their group in ItemGrp.
#include "BenchSupport.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "frame/Startup.h"
#include "platform/db/Database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void exec(const QString& sql) {
    if (!Database::exec(sql)) qFatal("bench setup failed: %s", qPrintable(sql));
}

// Builds the old data folder once per size and keeps its database file.
QString buildTemplate(QTemporaryDir& keep, int tables, int rows, int students) {
    BenchRoot root;
    {
        Transaction tx;
        Database::dropTable(QStringLiteral("M_CUST"));
        exec(QStringLiteral("create table M_CUST (CustNo char(12), SCd char(2), SNo char(10), Nm char(20), "
                            "Sex char(1), BankCd char(2), AcctNo char(15), Owr char(30), UseTy char(1), "
                            "InDate char(8), OutDate char(8), Ju_No char(13), primary key (CustNo))"));
        Query s(QStringLiteral("insert into M_CUST (CustNo, SCd, SNo, Nm, BankCd, AcctNo, UseTy) "
                               "values (?, '1', ?, ?, '04', '123456789012', '1')"));
        for (int i = 0; i < students; ++i) {
            s.add(QStringLiteral("10000%1").arg(i, 5, 10, QLatin1Char('0')))
                .add(QStringLiteral("1%1").arg(i % 10000, 4, 10, QLatin1Char('0')))
                .add(QStringLiteral("학생'%1").arg(i));
            if (!s.exec()) qFatal("students");
        }
        Database::dropTable(QStringLiteral("C_ITEM"));
        exec(QStringLiteral(
            "create table C_ITEM (ItemCd char(2), ItemNm char(10), Kwan char(10), Hang char(10), "
            "ItemAmt integer, EduType char(1), ItemGrp char(2))"));
        for (int i = 1; i <= 12; ++i)
            exec(QStringLiteral("insert into C_ITEM values ('%1', '항목%1', '', '', 1000, '1', '01')")
                     .arg(i, 2, 10, QLatin1Char('0')));
        for (int t = 0; t < tables; ++t) {
            const QString name = QStringLiteral("H_200_%1%2")
                                     .arg(200001 + t / 12 * 100 + t % 12)
                                     .arg(1, 2, 10, QLatin1Char('0'));
            exec(QStringLiteral(
                     "create table %1 (YearMon char(6), SeqNo char(2), SNo char(10), ItemCd char(2), "
                     "BankCd char(2), AcctNo char(15), Amt integer, ProcDt char(8), ReplyTy char(1), "
                     "ReplyCd char(4), ExempTy char(1), CustNo char(12), Nm char(20), SCd char(2), "
                     "ItemGrp char(2), primary key (YearMon, SeqNo, SNo, ItemCd))")
                     .arg(name));
            Query r(
                QStringLiteral("insert into %1 values (?, '01', ?, ?, '04', '123456789012', ?, '', '0', '', "
                               "'1', ?, ?, '1', '01')")
                    .arg(name));
            for (int i = 0; i < rows; ++i) {
                r.add(name.mid(6, 6))
                    .add(QStringLiteral("1%1").arg(i / 12, 5, 10, QLatin1Char('0')))
                    .add(QStringLiteral("%1").arg(i % 12 + 1, 2, 10, QLatin1Char('0')))
                    .add(i % 97 == 0 ? QVariant(QString()) : QVariant(1000 + i % 12))
                    .add(QStringLiteral("10000%1").arg(i / 12, 5, 10, QLatin1Char('0')))
                    .add(QStringLiteral("O'학생"));
                if (!r.exec()) qFatal("round rows: %s", qPrintable(r.error()));
            }
        }
        tx.commit();
    }
    Startup::destroyServices();
    const QString file = keep.path() + QStringLiteral("/old.db");
    QFile::copy(root.path() + QStringLiteral("/data/school.db"), file);
    Startup::createServices(root.path(), nullptr); // BenchRoot's destructor stops them
    return file;
}

void BM_MigrateOldDataRoot(benchmark::State& state) {
    const int tables = int(state.range(0));
    const int rows = int(state.range(1));
    const int students = int(state.range(2));
    QTemporaryDir keep;
    const QString old = buildTemplate(keep, tables, rows, students);
    BenchRoot root;
    const QString db = root.path() + QStringLiteral("/data/school.db");
    int rebuilt = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Startup::destroyServices();
        QFile::remove(db);
        QFile::copy(old, db);
        state.ResumeTiming();
        QString e;
        Startup::createServices(root.path(), &e); // start-up conversions
        const QStringList all = TDMData::RoundTablesToCheck();
        rebuilt = 0;
        for (auto it = all.crbegin(); it != all.crend(); ++it)
            if (TDMData::RoundTableIsOld(*it) && DMData->RebuildRoundTable(*it).ok) ++rebuilt;
    }
    if (rebuilt != tables) state.SkipWithError("not every round table was rebuilt");
    state.counters["rows"] = double(tables) * rows;
    state.counters["rows/s"] =
        benchmark::Counter(double(tables) * rows, benchmark::Counter::kIsIterationInvariantRate);
}

// 300 rounds of 1,200 rows (100 students x 12 items) with 36,000 students;
// and 10 of the busiest rounds, 36,000 rows each.
BENCHMARK(BM_MigrateOldDataRoot)
    ->Args({300, 1200, 36000})
    ->Args({10, 36000, 3000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
