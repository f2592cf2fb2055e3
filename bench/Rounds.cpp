// Creating a collection round of 3,000 students times 12 items (36,000 rows)
// with 300 exemptions, against the floor: the same select stepped into one
// prepared insert of the same rows in one transaction, straight on SQLite's
// interface.
#include "BenchSupport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "transfers/collection/RoundBuilder.h"

#include <sqlite3.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
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
        Query c(QStringLiteral(
            "INSERT INTO M_CUST (CustNo, SCd, SNo, Nm, BankCd, AcctNo, UseTy) VALUES (?,?,?,?,?,?,'1')"));
        for (int i = 0; i < kStudents; ++i) {
            const QString scd = QString::number(i % 6 + 1);
            c.bind(0, QStringLiteral("26031%1").arg(i, 5, 10, QLatin1Char('0')));
            c.bind(1, scd);
            c.bind(2, scd + QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')));
            c.bind(3, QStringLiteral("학생%1").arg(i));
            c.bind(4, kBanks[i % kBanks.size()]);
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

// The rows of the round in the order written, every column as text.
std::vector<std::string> dump(sqlite3* db) {
    std::vector<std::string> out;
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(db, ("SELECT * FROM " + kTarget.table().toStdString() + " ORDER BY rowid").c_str(), -1,
                       &q, nullptr);
    while (sqlite3_step(q) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(q); ++i) {
            const unsigned char* v = sqlite3_column_text(q, i);
            row += v ? std::to_string(sqlite3_column_type(q, i)) + reinterpret_cast<const char*>(v) : "NULL";
            row += '|';
        }
        out.push_back(std::move(row));
    }
    sqlite3_finalize(q);
    return out;
}

// The statement text with a list of '?' for each list.
std::string sourceSql(const GradeSelection& s, int banks) {
    auto marks = [](qsizetype n) {
        std::string m;
        for (qsizetype i = 0; i < n; ++i)
            m += i ? ",?" : "?";
        return m;
    };
    return "SELECT T1.SNo, T2.ItemID, T1.BankCd, T1.AcctNo, T2.ItemAmt, T1.CustNo, T1.Nm, T1.SCd, E.CustNo, "
           "E.Free, E.Itemval FROM M_CUST T1 JOIN C_ITEM T2 "
           "LEFT JOIN M_EXEMP E ON E.CustNo = T1.CustNo AND E.ItemCd = T2.ItemCd "
           "WHERE T1.SCd IN (" +
           marks(s.grades.size()) + ") AND T2.Gcode = ? AND T2.ItemID IN (" + marks(s.itemIds.size()) +
           ") AND T1.UseTy = '1' AND T1.BankCd IN (" + marks(banks) +
           ") ORDER BY T1.SNo, T1.CustNo, T2.ItemID";
}

// One round made the minimal way: the table created, the program's select
// stepped straight into one prepared insert of the same rows, in one
// transaction. Exemptions all have their kind (the setup's first creation
// gave them one), so the amount is the item's, nothing or the remainder.
bool floorRound(sqlite3* db, const GradeSelection& s, const std::vector<std::string>& binds) {
    Transaction tx;
    DMData->CreateH200(kTarget.yearMon + kTarget.seqNo);
    sqlite3_stmt* src = nullptr;
    const std::string sql = sourceSql(s, int(binds.size() - s.grades.size() - s.itemIds.size() - 1));
    sqlite3_prepare_v2(db, sql.c_str(), -1, &src, nullptr);
    for (size_t i = 0; i < binds.size(); ++i)
        sqlite3_bind_text(src, int(i + 1), binds[i].data(), int(binds[i].size()), SQLITE_STATIC);
    sqlite3_stmt* ins = nullptr;
    sqlite3_prepare_v2(
        db,
        ("INSERT INTO " + kTarget.table().toStdString() +
         " (YearMon,SeqNo,SNo,ItemCd,BankCd,AcctNo,Amt,ProcDt,ReplyTy,ReplyCd,ExempTy,CustNo,Nm,SCd,"
         "GrpNm,Unpaid,ReDt,REAmt,Gcode) VALUES (?,?,?,?,?,?,?,NULL,'0',NULL,?,?,?,?,NULL,NULL,NULL,0,?)")
            .c_str(),
        -1, &ins, nullptr);
    sqlite3_bind_text(ins, 1, "202603", 6, SQLITE_STATIC);
    sqlite3_bind_text(ins, 2, "01", 2, SQLITE_STATIC);
    sqlite3_bind_text(ins, 12, "01", 2, SQLITE_STATIC);
    bool ok = true;
    auto text = [&](int to, int from) {
        sqlite3_bind_text(ins, to, reinterpret_cast<const char*>(sqlite3_column_text(src, from)),
                          sqlite3_column_bytes(src, from), SQLITE_STATIC);
    };
    while (ok && sqlite3_step(src) == SQLITE_ROW) {
        sqlite3_int64 amt = sqlite3_column_int64(src, 4);
        const char* ty = "1";
        if (sqlite3_column_type(src, 8) != SQLITE_NULL) {
            const unsigned char* free = sqlite3_column_text(src, 9);
            const sqlite3_int64 val = sqlite3_column_int64(src, 10);
            if (!free || !*free) ok = false;
            if ((free && free[0] == 'A') || val < 0) {
                ty = "0";
                amt = 0;
            } else {
                ty = "2";
                amt = std::max<sqlite3_int64>(0, amt - val);
            }
        }
        text(3, 0);
        text(4, 1);
        text(5, 2);
        text(6, 3);
        sqlite3_bind_int64(ins, 7, amt);
        sqlite3_bind_text(ins, 8, ty, 1, SQLITE_STATIC);
        text(9, 5);
        text(10, 6);
        text(11, 7);
        ok = ok && sqlite3_step(ins) == SQLITE_DONE;
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    sqlite3_finalize(src);
    return ok && tx.commit();
}

void BM_Floor(benchmark::State& state) {
    School& s = school();
    sqlite3* db = Database::main().handle();
    RoundBuilder::createByGrade(kTarget, s.selection);
    const std::vector<std::string> written = dump(db);
    Database::dropTable(kTarget.table());
    std::vector<std::string> binds;
    for (const QString& g : s.selection.grades)
        binds.push_back(g.toStdString());
    binds.push_back(kTarget.gcode().toStdString());
    for (const QString& i : s.selection.itemIds)
        binds.push_back(i.toStdString());
    for (const QString& b : Rounds::bankCodes(s.selection.bank))
        binds.push_back(b.toStdString());
    // The floor must write what the program writes.
    if (!floorRound(db, s.selection, binds) || dump(db) != written) state.SkipWithError("floor differs");
    Database::dropTable(kTarget.table());
    for (auto _ : state) {
        if (!floorRound(db, s.selection, binds)) state.SkipWithError("floor failed");
        state.PauseTiming();
        Database::dropTable(kTarget.table());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(written.size()));
}

} // namespace

BENCHMARK(BM_CreateRoundByGrade)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
