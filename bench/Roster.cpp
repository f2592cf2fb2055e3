#include "BenchSupport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "students/F201B00.h"
#include "students/RosterList.h"
#include "students/StudentStore.h"

#include <benchmark/benchmark.h>

namespace {

// A large school's roster.
constexpr int kStudents = 12000;

void fillStudents(int n) {
    Transaction tx;
    for (int i = 0; i < n; ++i) {
        const QString sNo = QString::number(1 + i / 2000) +
                            QStringLiteral("%1").arg(i % 2000 / 40 + 1, 2, 10, QLatin1Char('0')) +
                            QStringLiteral("%1").arg(i % 40 + 1, 2, 10, QLatin1Char('0'));
        Database::insertRow(
            QStringLiteral("M_CUST"),
            {{QStringLiteral("CustNo"), QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'))},
             {QStringLiteral("SCd"), sNo.left(1)},
             {QStringLiteral("SNo"), sNo},
             {QStringLiteral("Nm"), QStringLiteral("학생%1").arg(i)},
             {QStringLiteral("Sex"), QStringLiteral("1")},
             {QStringLiteral("BankCd"), i % 3 ? QStringLiteral("04") : QStringLiteral("11")},
             {QStringLiteral("AcctNo"), QStringLiteral("1234%1").arg(i, 8, 10, QLatin1Char('0'))},
             {QStringLiteral("UseTy"), i % 10 ? QStringLiteral("1") : QStringLiteral("0")},
             {QStringLiteral("AcctRegYn_1"), QStringLiteral("N")},
             {QStringLiteral("smsYN"), QStringLiteral("1")}});
    }
    tx.commit();
}

// Listing 12,000 students into the roster grid (query, rows, counts, model).
void BM_ListIntoGrid(benchmark::State& state) {
    BenchRoot root;
    fillStudents(kStudents);
    TFrmF201B00 w;
    for (auto _ : state) {
        w.pListStudents();
        benchmark::DoNotOptimize(w.gridRowCount());
    }
    state.counters["rows"] = w.gridRowCount() - 1;
}
BENCHMARK(BM_ListIntoGrid)->Unit(benchmark::kMillisecond);

// Its floor: the bare SELECT of the same rows, the roster's own statement.
void BM_ListIntoGrid_Floor(benchmark::State& state) {
    BenchRoot root;
    fillStudents(kStudents);
    RosterFilter f;
    f.bankText = QStringLiteral("00.모든은행");
    QVariantList binds;
    const QString sql = RosterList::listSql(f, binds);
    qint64 rows = 0;
    for (auto _ : state)
        rows = floorSelect(sql, binds);
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_ListIntoGrid_Floor)->Unit(benchmark::kMillisecond);

// Saving a name and account change carried into 300 round tables of 200
// rows each.
void BM_SaveIntoRounds(benchmark::State& state) {
    BenchRoot root;
    fillStudents(200);
    const QString custNo = QStringLiteral("0000000007");
    {
        Transaction tx;
        for (int r = 0; r < 300; ++r) {
            const QString suffix = QStringLiteral("%1%2")
                                       .arg(200001 + (r / 12) * 100 + r % 12)
                                       .arg(r % 2 + 1, 2, 10, QLatin1Char('0'));
            const QString table = QStringLiteral("H_200_") + suffix;
            DMData->CreateH200(suffix);
            Query q(QStringLiteral(
                        "INSERT INTO %1 (YearMon, SeqNo, SNo, ItemCd, CustNo, Nm, ReplyTy, BankCd, AcctNo) "
                        "SELECT ?, ?, SNo, '01', CustNo, Nm, '0', BankCd, AcctNo FROM M_CUST")
                        .arg(Database::quoted(table)));
            q.add(suffix.left(6)).add(suffix.mid(6));
            q.exec();
        }
        tx.commit();
    }
    StudentStoreHooks hooks;
    hooks.ask = [](const StoreBox&) { return true; };
    hooks.pickRounds = [] { return std::optional<QStringList>(StudentStore::roundEntries()); };
    int n = 0;
    for (auto _ : state) {
        const StudentRow before = *StudentStore::find(custNo);
        StudentEntry e;
        e.custNo = custNo;
        e.gradeCode = before.sCd;
        e.classNo = before.sNo.mid(1);
        e.name = QStringLiteral("이름%1").arg(++n);
        e.sexText = before.sex;
        e.bankText = before.bankCd;
        e.acctNo = QStringLiteral("9999%1").arg(n, 8, 10, QLatin1Char('0'));
        e.owr = before.owr;
        e.smsText = before.smsYN;
        e.mTelNo = QStringLiteral("010");
        const StoreResult r = StudentStore::save(e, before, hooks);
        if (!r.stored) state.SkipWithError("save failed");
    }
    state.counters["rounds"] = 300;
}
BENCHMARK(BM_SaveIntoRounds)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchInitApp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
