// Creating a distribution round of 3,000 students times 12 items (36,000
// rows) with 300 exemptions, against the floor: the same rows inserted with
// one prepared statement in one transaction.
#include "BenchSupport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "transfers/distribution/DistribRound.h"


#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kStudents = 3000;
constexpr int kItems = 12;
constexpr int kExemptions = 300;

QString id(int i) {
    return QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
}

struct School {
    std::unique_ptr<BenchRoot> root;
    QStringList grades, itemCds, itemLines;
};

School& school() {
    static School s = [] {
        School sc;
        sc.root = std::make_unique<BenchRoot>();
        Transaction tx;
        Query c(QStringLiteral(
            "INSERT INTO M_CUST (CustNo, SCd, SNo, Nm, BankCd, AcctNo, UseTy) VALUES (?,?,?,?,?,?,'1')"));
        for (int i = 0; i < kStudents; ++i) {
            const QString scd = QString::number(i % 6 + 1);
            c.bind(0, QStringLiteral("26031%1").arg(i, 5, 10, QLatin1Char('0')));
            c.bind(1, scd);
            c.bind(2, scd + QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')));
            c.bind(3, QStringLiteral("학생%1").arg(i));
            c.bind(4, i % 2 ? QStringLiteral("20") : QStringLiteral("21"));
            c.bind(5, QStringLiteral("1002%1").arg(i, 8, 10, QLatin1Char('0')));
            c.exec();
        }
        for (int i = 1; i <= kItems; ++i)
            Database::insertRow(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), id(i + 20)},
                                                           {QStringLiteral("ItemNm"), QStringLiteral("항목%1").arg(i)},
                                                           {QStringLiteral("ItemAmt"), 10000 + i * 1000},
                                                           {QStringLiteral("Gcode"), QStringLiteral("01")},
                                                           {QStringLiteral("ItemID"), id(i)}});
        for (int i = 0; i < kExemptions; ++i)
            Database::insertRow(
                QStringLiteral("M_EXEMP"),
                {{QStringLiteral("CustNo"), QStringLiteral("26031%1").arg(i * 10, 5, 10, QLatin1Char('0'))},
                 {QStringLiteral("ItemCd"), id(i % kItems + 21)},
                 {QStringLiteral("Itemval"), 3000},
                 {QStringLiteral("Free"), QStringLiteral("A")}});
        tx.commit();
        for (int g = 1; g <= 6; ++g)
            sc.grades << QString::number(g);
        for (int i = 1; i <= kItems; ++i) {
            sc.itemCds << id(i + 20);
            sc.itemLines << id(i) + QStringLiteral(".항목%1").arg(i);
        }
        return sc;
    }();
    return s;
}

const DistribRound::Target kTarget{QStringLiteral("01.기본"), QStringLiteral("202603"), QStringLiteral("01")};

void BM_CreateDistribRound(benchmark::State& state) {
    School& s = school();
    for (auto _ : state) {
        const DistribRound::Outcome o = DistribRound::createByGrade(kTarget, s.grades, s.itemCds, s.itemLines);
        if (o.kind != DistribRound::Outcome::Done || o.rows != kStudents * kItems)
            state.SkipWithError("creation failed");
        state.PauseTiming();
        Database::dropTable(kTarget.table());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kStudents * kItems);
}

// The same rows, read beforehand, written with one prepared statement.
void BM_Floor(benchmark::State& state) {
    School& s = school();
    DistribRound::createByGrade(kTarget, s.grades, s.itemCds, s.itemLines);
    std::vector<QVariantList> rows;
    {
        Query q(QStringLiteral("SELECT YearMon,SeqNo,SNo,ItemCd,BankCd,AcctNo,Amt,ReplyTy,ExempTy,CustNo,Nm,SCd,Gcode "
                              "FROM ") +
               kTarget.table());
        q.exec();
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
        DMData->CreateH300(kTarget.yearMon + kTarget.seqNo);
        Query ins(QStringLiteral("INSERT INTO %1 (YearMon,SeqNo,SNo,ItemCd,BankCd,AcctNo,Amt,ReplyTy,ExempTy,"
                                   "CustNo,Nm,SCd,Gcode) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)")
                        .arg(kTarget.table()));
        for (const QVariantList& v : rows) {
            for (int i = 0; i < 13; ++i)
                ins.bind(i, v[i]);
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

BENCHMARK(BM_CreateDistribRound)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
