// Creating a collection round of 3,000 students times 12 items (36,000 rows)
// with 300 exemptions, against the floor: the same rows inserted with one
// prepared statement in one transaction.
#include "BenchSupport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "transfers/collection/RoundBuilder.h"

#include <QSqlQuery>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kStudents = 3000;
constexpr int kItems = 12;
constexpr int kExemptions = 300;

const QStringList kBanks{QStringLiteral("04"), QStringLiteral("05"), QStringLiteral("11"),
                         QStringLiteral("99")};

QString id(int i) {
    return QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
}

struct School {
    std::unique_ptr<BenchRoot> root;
    GradeSelection selection;
};

School& school() {
    static School s = [] {
        School sc;
        sc.root = std::make_unique<BenchRoot>();
        Transaction tx;
        QSqlQuery c(Database::db());
        c.prepare(QStringLiteral(
            "INSERT INTO M_CUST (CustNo, SCd, SNo, Nm, BankCd, AcctNo, UseTy) VALUES (?,?,?,?,?,?,'1')"));
        for (int i = 0; i < kStudents; ++i) {
            const QString scd = QString::number(i % 6 + 1);
            c.bindValue(0, QStringLiteral("26031%1").arg(i, 5, 10, QLatin1Char('0')));
            c.bindValue(1, scd);
            c.bindValue(2, scd + QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')));
            c.bindValue(3, QStringLiteral("학생%1").arg(i));
            c.bindValue(4, kBanks[i % kBanks.size()]);
            c.bindValue(5, QStringLiteral("1002%1").arg(i, 8, 10, QLatin1Char('0')));
            c.exec();
        }
        for (int i = 1; i <= kItems; ++i)
            Database::insertRow(QStringLiteral("C_ITEM"),
                                {{QStringLiteral("ItemCd"), id(i + 20)},
                                 {QStringLiteral("ItemNm"), QStringLiteral("항목%1").arg(i)},
                                 {QStringLiteral("ItemAmt"), 10000 + i * 1000},
                                 {QStringLiteral("Gcode"), QStringLiteral("01")},
                                 {QStringLiteral("ItemID"), id(i)}});
        // Whole, partial and not yet kinded exemptions, spread over students.
        const QStringList frees{QStringLiteral("A"), QStringLiteral("P"), QString()};
        for (int i = 0; i < kExemptions; ++i)
            Database::insertRow(
                QStringLiteral("M_EXEMP"),
                {{QStringLiteral("CustNo"), QStringLiteral("26031%1").arg(i * 10, 5, 10, QLatin1Char('0'))},
                 {QStringLiteral("ItemCd"), id(i % kItems + 21)},
                 {QStringLiteral("Itemval"), 3000},
                 {QStringLiteral("Free"), frees[i % 3]}});
        tx.commit();
        for (int g = 1; g <= 6; ++g)
            sc.selection.grades << QString::number(g);
        for (int i = 1; i <= kItems; ++i) {
            sc.selection.itemIds << id(i);
            sc.selection.itemLines << id(i) + QStringLiteral(".항목%1").arg(i);
        }
        sc.selection.bank = Rounds::BankChoice{
            QStringLiteral("00"),
            {QStringLiteral("99"), QStringLiteral("04"), QStringLiteral("05"), QStringLiteral("11")}};
        return sc;
    }();
    return s;
}

const RoundTarget kTarget{QStringLiteral("01.기본"), QStringLiteral("202603"), QStringLiteral("01")};

void BM_CreateRoundByGrade(benchmark::State& state) {
    School& s = school();
    for (auto _ : state) {
        const RoundResult r = RoundBuilder::createByGrade(kTarget, s.selection);
        if (!r.ok() || r.rows != kStudents * kItems) state.SkipWithError("creation failed");
        state.PauseTiming();
        Database::dropTable(kTarget.table());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kStudents * kItems);
}

// The same rows, read beforehand, written with one prepared statement.
void BM_Floor(benchmark::State& state) {
    School& s = school();
    RoundBuilder::createByGrade(kTarget, s.selection);
    std::vector<QVariantList> rows;
    {
        QSqlQuery q(Database::db());
        q.exec(
            QStringLiteral(
                "SELECT YearMon,SeqNo,SNo,ItemCd,BankCd,AcctNo,Amt,ExempTy,CustNo,Nm,SCd,GrpNm,Gcode FROM ") +
            kTarget.table());
        while (q.next()) {
            QVariantList v;
            for (int i = 0; i < 13; ++i)
                v << q.value(i);
            rows.push_back(v);
        }
    }
    Database::dropTable(kTarget.table());
    for (auto _ : state) {
        Transaction tx;
        DMData->CreateH200(kTarget.yearMon + kTarget.seqNo);
        QSqlQuery ins(Database::db());
        ins.prepare(
            QStringLiteral("INSERT INTO %1 (YearMon,SeqNo,SNo,ItemCd,BankCd,AcctNo,Amt,ExempTy,CustNo,Nm,SCd,"
                           "GrpNm,Gcode) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)")
                .arg(kTarget.table()));
        for (const QVariantList& v : rows) {
            for (int i = 0; i < 13; ++i)
                ins.bindValue(i, v[i]);
            ins.exec();
        }
        ins.finish();
        tx.commit();
        state.PauseTiming();
        Database::dropTable(kTarget.table());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(rows.size()));
}

} // namespace

BENCHMARK(BM_CreateRoundByGrade)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
