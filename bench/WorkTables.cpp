// Work tables built from a fiscal year of rounds on a school of 12,000
// students: the receipt ledger (MSUNAP, one row per student from twelve
// monthly rounds) and the year-end settlement listing (M_SumTax, a row per
// payment of four quarterly rounds), each against its floor: the same
// selects stepped, and the same rows written again through one prepared
// statement in one transaction.
#include "BenchSupport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "reports/Ledger.h"
#include "reports/SumTax_mon.h"
#include "reports/YearEndTax.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

constexpr int kGrades = 3, kClasses = 40, kNumbers = 100;
constexpr int kStudents = kGrades * kClasses * kNumbers;
// Fiscal year 2026: March 2026 to February 2027, one round a month; the
// quarterly item in March, June, September and December.
const char* const kRounds[] = {"20260301", "20260401", "20260501", "20260601", "20260701", "20260801",
                               "20260901", "20261001", "20261101", "20261201", "20270101", "20270201"};
constexpr int kQuarterRounds = 4;

bool quarterly(const QString& round) {
    const int m = round.mid(4, 2).toInt();
    return m == 3 || m == 6 || m == 9 || m == 12;
}

void addItem(const char* cd, const char* id, const char* nm) {
    Database::insertRow(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), QString::fromLatin1(cd)},
                                                   {QStringLiteral("ItemID"), QString::fromLatin1(id)},
                                                   {QStringLiteral("Gcode"), QStringLiteral("01")},
                                                   {QStringLiteral("ItemNm"), QString::fromUtf8(nm)},
                                                   {QStringLiteral("ItemAmt"), 50000}});
}

QString sNoOf(int s) {
    const int g = s / (kClasses * kNumbers) + 1, c = s / kNumbers % kClasses + 1, n = s % kNumbers + 1;
    return QStringLiteral("%1%2%3").arg(g).arg(c, 2, 10, QLatin1Char('0')).arg(n, 3, 10, QLatin1Char('0'));
}

// A few refunds, in part and whole, and of the quarterly item a few rows
// not yet paid.
int refund(int s, int amt) {
    return s % 50 == 7 ? amt / 2 : s % 97 == 3 ? amt : 0;
}

bool unpaid(int s, const char* item) {
    return item[1] == '2' && s % 61 == 5;
}

void fillRound(const QString& round) {
    DMData->CreateH200(round);
    Query ins(
        QStringLiteral("insert into H_200_%1 (YearMon, SeqNo, SNo, ItemCd, BankCd, AcctNo, Amt, ProcDt, "
                       "ReplyTy, ExempTy, CustNo, Nm, SCd, REAmt, Gcode) "
                       "values (?, '01', ?, ?, '04', '12345678901', ?, ?, '1', '1', ?, '학생', ?, ?, '01')")
            .arg(round));
    const QString procDt = round.left(6) + QStringLiteral("20");
    for (int s = 0; s < kStudents; ++s) {
        const QString sno = sNoOf(s);
        for (const char* item : {"01", "02"}) {
            if (item[1] == '2' && !quarterly(round)) continue;
            const int amt = item[1] == '1' ? 30000 : 200000;
            ins.add(round.left(6)).add(sno).add(QString::fromLatin1(item)).add(amt);
            ins.add(unpaid(s, item) ? QString() : procDt)
                .add(QStringLiteral("C%1").arg(s, 6, 10, QLatin1Char('0')));
            ins.add(sno.left(1)).add(refund(s, amt));
            ins.exec();
        }
    }
}

struct Fixture {
    BenchRoot root;

    Fixture() {
        Transaction tx;
        Database::insertRow(QStringLiteral("G_GROUP"),
                            {{QStringLiteral("G_CODE"), QStringLiteral("01")}, {QStringLiteral("G_NAME"), QStringLiteral("교육비")}});
        addItem("A1", "01", "급식비");
        addItem("A2", "02", "수업료");
        Query cust(QStringLiteral("insert into M_CUST (CustNo, SNo, SCd, Nm, UseTy, Ju_No_Stud) "
                                  "values (?, ?, ?, '학생', '1', ?)"));
        for (int s = 0; s < kStudents; ++s) {
            const QString sno = sNoOf(s);
            cust.add(QStringLiteral("C%1").arg(s, 6, 10, QLatin1Char('0'))).add(sno).add(sno.left(1));
            cust.add(QStringLiteral("1501013%1").arg(s, 6, 10, QLatin1Char('0')));
            cust.exec();
        }
        for (const char* r : kRounds)
            fillRound(QString::fromLatin1(r));
        tx.commit();
        DMData->LoadLists();
    }
};

Fixture& fixture() {
    benchInitApp();
    static Fixture f;
    return f;
}

// ---- The ledger

ReportSelection ledgerSelection() {
    ReportSelection s;
    s.extra.insert(QStringLiteral("year"), QStringLiteral("2026"));
    s.extra.insert(QStringLiteral("grades"), QStringLiteral("1,2,3"));
    s.extra.insert(QStringLiteral("itemcds"), QStringLiteral("A1"));
    return s;
}

// The build's own selects: the items, and of each round its group and its
// rows of the chosen item and grades.
qint64 ledgerSelects() {
    qint64 rows = floorSelect(QStringLiteral("SELECT ItemCd, Gcode, ItemID FROM C_ITEM"));
    for (const char* r : kRounds) {
        const QString t = QStringLiteral("\"H_200_%1\"").arg(QString::fromLatin1(r));
        floorSelect(QStringLiteral("SELECT Gcode FROM %1 GROUP BY Gcode ORDER BY Gcode").arg(t));
        rows += floorSelect(
            QStringLiteral("SELECT SNo, Nm, ItemCd, YearMon, ProcDt, Amt, COALESCE(REAmt, 0) FROM %1 WHERE "
                           "Gcode = ? and ItemCd IN (?) and SCd IN (?, ?, ?) and ProcDt <> '' and ProcDt <> "
                           "'00000000' and ProcDt <> '0' ORDER BY SNo, ItemCd")
                .arg(t),
            {QStringLiteral("01"), QStringLiteral("01"), QStringLiteral("1"), QStringLiteral("2"),
             QStringLiteral("3")});
    }
    return rows;
}

const QString kLedgerRead =
    QStringLiteral("SELECT SNo, ItemCd, ProcDt1, ProcAmt1, ProcDt2, ProcAmt2, ProcDt3, ProcAmt3, ProcDt4, "
                   "ProcAmt4, ProcDt5, "
                   "ProcAmt5, ProcDt6, ProcAmt6, ProcDt7, ProcAmt7, ProcDt8, ProcAmt8, ProcDt9, ProcAmt9, "
                   "ProcDt10, ProcAmt10, "
                   "ProcDt11, ProcAmt11, ProcDt12, ProcAmt12, Nm, Num FROM MSUNAP ORDER BY Num");

// The floor of the ledger: the build's selects, MSUNAP written again, and for
// the listing the select of it.
void ledgerFloor(benchmark::State& state, bool listing) {
    fixture();
    Ledger::build(ledgerSelection(), nullptr, nullptr);
    const StoredTable t = storedTable(QStringLiteral("MSUNAP"));
    if (t.rows.size() != kStudents) state.SkipWithError("rows missing");
    for (auto _ : state) {
        ledgerSelects();
        floorRebuild(t);
        if (listing && floorSelect(kLedgerRead) != kStudents) state.SkipWithError("rows missing");
    }
    state.SetItemsProcessed(state.iterations() * kStudents);
}

void BM_LedgerBuild(benchmark::State& state) {
    fixture();
    const ReportSelection s = ledgerSelection();
    for (auto _ : state) {
        int rows = 0;
        if (!Ledger::build(s, &rows, nullptr) || rows != kStudents) state.SkipWithError("rows missing");
    }
    state.SetItemsProcessed(state.iterations() * kStudents);
}
BENCHMARK(BM_LedgerBuild)->Unit(benchmark::kMillisecond);

void BM_LedgerBuild_Floor(benchmark::State& state) {
    ledgerFloor(state, false);
}
BENCHMARK(BM_LedgerBuild_Floor)->Unit(benchmark::kMillisecond);

void BM_LedgerListing(benchmark::State& state) {
    fixture();
    const ReportSelection s = ledgerSelection();
    for (auto _ : state) {
        const ReportListing l = Ledger::list(s);
        if (l.rows.size() != kStudents) state.SkipWithError("rows missing");
        benchmark::DoNotOptimize(l.total);
    }
    state.SetItemsProcessed(state.iterations() * kStudents);
}
BENCHMARK(BM_LedgerListing)->Unit(benchmark::kMillisecond);

void BM_LedgerListing_Floor(benchmark::State& state) {
    ledgerFloor(state, true);
}
BENCHMARK(BM_LedgerListing_Floor)->Unit(benchmark::kMillisecond);

// ---- The year-end settlement listing

ReportSelection taxSelection() {
    ReportSelection s;
    s.gcode = QStringLiteral("01");
    s.extra.insert(QStringLiteral("year"), QStringLiteral("2026"));
    s.extra.insert(QStringLiteral("items2"), QStringLiteral("02"));
    return s;
}

// Paid rows of the quarterly item less refunds, that year's rounds.
const qint64 kTaxRows = [] {
    qint64 n = 0;
    for (int s = 0; s < kStudents; ++s)
        n += !unpaid(s, "02") && refund(s, 1000) < 1000 ? 1 : 0;
    return n * kQuarterRounds;
}();

qint64 taxSelects() {
    qint64 rows = 0;
    for (const char* r : kRounds) {
        if (QByteArray(r).left(4) != "2026") continue;
        rows += floorSelect(
            QStringLiteral(
                "SELECT t1.CustNo, t1.Gcode, t1.ItemCd, t1.ProcDt, t1.Amt - COALESCE(t1.REAmt, 0), "
                "t2.SNo, t2.Nm, t2.Ju_No_Stud FROM \"H_200_%1\" t1 JOIN M_CUST t2 ON t1.CustNo = "
                "t2.CustNo WHERE t1.ReplyTy <> '0' and t1.ItemCd IN (?) and t1.Gcode = ? and t1.Amt > "
                "COALESCE(t1.REAmt, 0) and t1.ProcDt LIKE ? ORDER BY t2.rowid, t1.rowid")
                .arg(QString::fromLatin1(r)),
            {QStringLiteral("02"), QStringLiteral("01"), QStringLiteral("2026%")});
    }
    return rows;
}

using TaxListing = ReportListing (*)(const ReportSelection&);

void taxListing(benchmark::State& state, TaxListing listing) {
    fixture();
    const ReportSelection s = taxSelection();
    for (auto _ : state) {
        const ReportListing l = listing(s);
        if (l.rows.size() != kTaxRows) state.SkipWithError("rows missing");
        benchmark::DoNotOptimize(l.total);
    }
    state.SetItemsProcessed(state.iterations() * kTaxRows);
}

// The floor of a listing: the paid rows read, M_SumTax written again, and
// the listing's own select of it.
void taxFloor(benchmark::State& state, TaxListing listing, const QString& read) {
    fixture();
    listing(taxSelection());
    const StoredTable t = storedTable(QStringLiteral("M_SumTax"));
    for (auto _ : state) {
        if (taxSelects() != kTaxRows) state.SkipWithError("rows missing");
        floorRebuild(t);
        floorSelect(read);
    }
    state.SetItemsProcessed(state.iterations() * kTaxRows);
}

void BM_YearEndQuarterly(benchmark::State& state) {
    taxListing(state, YearEndTax::quarterly);
}
BENCHMARK(BM_YearEndQuarterly)->Unit(benchmark::kMillisecond);

void BM_YearEndQuarterly_Floor(benchmark::State& state) {
    taxFloor(state, YearEndTax::quarterly,
             QStringLiteral("SELECT Sno, Name, ItemCd, Gcode, Amt, ProcDt, SocId FROM M_SumTax ORDER BY Sno, "
                            "ProcDt, Gcode, ItemCd, seq"));
}
BENCHMARK(BM_YearEndQuarterly_Floor)->Unit(benchmark::kMillisecond);

void BM_YearEndMonthly(benchmark::State& state) {
    taxListing(state, YearEndTax::monthly);
}
BENCHMARK(BM_YearEndMonthly)->Unit(benchmark::kMillisecond);

void BM_YearEndMonthly_Floor(benchmark::State& state) {
    taxFloor(
        state, YearEndTax::monthly,
        QStringLiteral("SELECT Sno, Name, SocId, NapCd, ProcMon, SUM(Amt) AS SumAmt, MAX(ProcDt) AS LastDt, "
                       "CustNo FROM M_SumTax GROUP BY CustNo, Sno, Name, SocId, NapCd, ProcMon ORDER BY Sno, "
                       "LastDt, NapCd, CustNo"));
}
BENCHMARK(BM_YearEndMonthly_Floor)->Unit(benchmark::kMillisecond);

// The monthly listing as its window shows it: the search, the grid filled
// and its columns widened to their values.
void BM_YearEndMonthlyIntoWindow(benchmark::State& state) {
    fixture();
    TfrmSumTax_mon w;
    w.MEdtYear->setText(QStringLiteral("2026"));
    QListWidget* items = w.CLbNCd_item[1];
    for (int i = 0; i < items->count(); ++i)
        if (items->item(i)->text().startsWith(QLatin1String("02.")))
            items->item(i)->setCheckState(Qt::Checked);
    for (auto _ : state) {
        w.bbtnSearch->click();
        if (w.listing().rows.size() != kTaxRows) state.SkipWithError("rows missing");
    }
    state.SetItemsProcessed(state.iterations() * kTaxRows);
}
BENCHMARK(BM_YearEndMonthlyIntoWindow)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
