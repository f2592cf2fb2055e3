// Creating a distribution round of 3,000 students times 12 items (36,000
// rows) with 300 exemptions, against the floor: the same rows inserted with
// one prepared statement in one transaction, straight on SQLite's interface.
#include "BenchSupport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "transfers/distribution/DistribRound.h"

#include <sqlite3.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>
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
            Database::insertRow(QStringLiteral("C_ITEM"),
                                {{QStringLiteral("ItemCd"), id(i + 20)},
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
        const DistribRound::Outcome o =
            DistribRound::createByGrade(kTarget, s.grades, s.itemCds, s.itemLines);
        if (o.kind != DistribRound::Outcome::Done || o.rows != kStudents * kItems)
            state.SkipWithError("creation failed");
        state.PauseTiming();
        Database::dropTable(kTarget.table());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kStudents * kItems);
}

// The same rows, read beforehand as bytes, written with one prepared
// statement in one transaction on the bare C API.
void BM_Floor(benchmark::State& state) {
    School& s = school();
    DistribRound::createByGrade(kTarget, s.grades, s.itemCds, s.itemLines);
    sqlite3* db = Database::main().handle();
    constexpr int kCols = 13;
    std::vector<std::vector<std::optional<std::string>>> rows;
    {
        sqlite3_stmt* q = nullptr;
        sqlite3_prepare_v2(
            db,
            ("SELECT YearMon,SeqNo,SNo,ItemCd,BankCd,AcctNo,Amt,ReplyTy,ExempTy,CustNo,Nm,SCd,Gcode "
             "FROM " +
             kTarget.table().toStdString())
                .c_str(),
            -1, &q, nullptr);
        while (sqlite3_step(q) == SQLITE_ROW) {
            std::vector<std::optional<std::string>> v(kCols);
            for (int i = 0; i < kCols; ++i)
                if (sqlite3_column_type(q, i) != SQLITE_NULL)
                    v[i] = reinterpret_cast<const char*>(sqlite3_column_text(q, i));
            rows.push_back(std::move(v));
        }
        sqlite3_finalize(q);
    }
    Database::dropTable(kTarget.table());
    for (auto _ : state) {
        Transaction tx;
        DMData->CreateH300(kTarget.yearMon + kTarget.seqNo);
        sqlite3_stmt* ins = nullptr;
        sqlite3_prepare_v2(
            db,
            ("INSERT INTO " + kTarget.table().toStdString() +
             " (YearMon,SeqNo,SNo,ItemCd,BankCd,AcctNo,Amt,ReplyTy,ExempTy,CustNo,Nm,SCd,Gcode) "
             "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)")
                .c_str(),
            -1, &ins, nullptr);
        for (const auto& v : rows) {
            for (int i = 0; i < kCols; ++i) {
                if (!v[i])
                    sqlite3_bind_null(ins, i + 1);
                else if (i == 6)
                    sqlite3_bind_int64(ins, i + 1, std::stoll(*v[i]));
                else
                    sqlite3_bind_text(ins, i + 1, v[i]->data(), int(v[i]->size()), SQLITE_STATIC);
            }
            sqlite3_step(ins);
            sqlite3_reset(ins);
        }
        sqlite3_finalize(ins);
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
