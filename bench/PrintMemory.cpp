// Peak memory of printing to PDF, the receipt ledger and the whole-list
// roster of 4,000 and 16,000 students, and of the student export to a
// workbook at 8,000 and 64,000 students. Each case runs in a fresh process
// of this program (so one case's heap does not carry into the next); the
// child fills its data root, resets its high-water mark and prints or
// exports, and reports the pages (the rows for the export), its resident
// size before and its peak while at work.
#include "BenchSupport.h"

#include "basic/StudentExport.h"
#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/report/Report.h"
#include "reports/Ledger.h"
#include "students/RosterPrint.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr char kChild[] = "--print-memory-child";
enum Kind { LedgerPdf, RosterPdf, StudentXlsx };

// A line of /proc/self/status in kB ("VmHWM", "VmRSS").
qint64 statusKb(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray want = QByteArray(key) + ':';
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(want)) return line.mid(want.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// The peak from here on is the printing's own, not the filling's.
void resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

// MSUNAP as a build leaves it: three items a student, paid March to
// December.
void fillLedger(int n) {
    const QStringList names{QStringLiteral("수업료"), QStringLiteral("급식비"), QStringLiteral("방과후")};
    for (int k = 0; k < names.size(); ++k)
        Database::insertRow(QStringLiteral("C_ITEM"),
                            {{QStringLiteral("ItemCd"), QStringLiteral("0%1").arg(k + 1)},
                             {QStringLiteral("ItemID"), QStringLiteral("0%1").arg(k + 1)},
                             {QStringLiteral("Gcode"), QStringLiteral("01")},
                             {QStringLiteral("ItemNm"), names.at(k)},
                             {QStringLiteral("ItemAmt"), 50000}});
    Database::createTable(Ledger::tableDef(), true);
    QStringList cols{QStringLiteral("SNo"), QStringLiteral("ItemCd"), QStringLiteral("Nm"),
                     QStringLiteral("Num")};
    for (int m = 3; m <= 12; ++m)
        cols << QStringLiteral("ProcDt%1").arg(m) << QStringLiteral("ProcAmt%1").arg(m);
    QStringList marks;
    for (int c = 0; c < cols.size(); ++c)
        marks << QStringLiteral("?");
    Transaction tx;
    Query ins(QStringLiteral("INSERT INTO MSUNAP (%1) VALUES (%2)")
                  .arg(cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    int num = 0;
    for (int i = 0; i < n; ++i)
        for (int k = 1; k <= names.size(); ++k) {
            ins.add(benchSNo(i))
                .add(QStringLiteral("0%1").arg(k))
                .add(QStringLiteral("학생%1").arg(i))
                .add(++num);
            for (int m = 3; m <= 12; ++m)
                ins.add(QStringLiteral("2026%120").arg(m, 2, 10, QLatin1Char('0'))).add(10000 * k + i % 1000);
            ins.exec();
        }
    tx.commit();
}

// As "print ledger --pdf": the catalog's print function lays out inside a
// stream.
int printLedger(const QString& pdf) {
    ReportWriter w(pdf, {});
    {
        ReportStream stream(w);
        ReportDocument doc;
        if (Ledger::print({}, &doc)) return -1;
    }
    return w.finish() ? w.pages() : -1;
}

// M_CUST with every column the export writes, and a remark for every
// fifth student.
void fillRoster(int n) {
    DMData->CreateCBigo();
    Transaction tx;
    Query cust(QStringLiteral("INSERT INTO M_CUST (CustNo, SCd, SNo, Nm, BankCd, AcctNo, Owr, Sex, UseTy, "
                              "InDate, OutDate, Ju_No, MTelNo, smsYN, Ju_No_Stud) "
                              "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    Query bigo(QStringLiteral("INSERT INTO C_Bigo (CustNo, Bigo) VALUES (?,?)"));
    for (int i = 0; i < n; ++i) {
        const QString custNo = QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'));
        const QString sNo = benchSNo(i);
        cust.add(custNo)
            .add(sNo.left(1))
            .add(sNo)
            .add(QStringLiteral("학생%1").arg(i))
            .add(QStringLiteral("04"))
            .add(QStringLiteral("1234%1").arg(i, 8, 10, QLatin1Char('0')))
            .add(QStringLiteral("보호자%1").arg(i))
            .add(i % 2 ? QStringLiteral("1") : QStringLiteral("2"))
            .add(i % 10 ? QStringLiteral("1") : QStringLiteral("2"))
            .add(QStringLiteral("20250302"))
            .add(i % 10 ? QString() : QStringLiteral("20260115"))
            .add(QStringLiteral("7001011%1").arg(i % 1000000, 6, 10, QLatin1Char('0')))
            .add(QStringLiteral("010%1").arg(i, 8, 10, QLatin1Char('0')))
            .add(QStringLiteral("1"))
            .add(QStringLiteral("1001013%1").arg(i % 1000000, 6, 10, QLatin1Char('0')));
        cust.exec();
        if (i % 5 == 0) {
            bigo.add(custNo).add(QStringLiteral("형제 할인 %1").arg(i));
            bigo.exec();
        }
    }
    tx.commit();
}

int printRoster(const QList<StudentRow>& rows, const QString& pdf) {
    const auto report = RosterPrint::make(rows, true, {});
    ReportWriter w(pdf, {});
    report->QuickRep1.layout(w);
    return w.finish() ? w.pages() : -1;
}

// The child: fills its data, prints once and writes
// "pages rssBeforeKb peakKb printNs".
int child(Kind kind, int n) {
    BenchRoot root;
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("print.pdf"));
    QList<StudentRow> rows;
    if (kind == LedgerPdf)
        fillLedger(n);
    else if (kind == StudentXlsx)
        fillRoster(n);
    else
        rows = benchStudents(n);
    const qint64 before = statusKb("VmRSS");
    resetPeak();
    QElapsedTimer t;
    t.start();
    int pages = -1;
    if (kind == LedgerPdf)
        pages = printLedger(pdf);
    else if (kind == StudentXlsx)
        pages = StudentExport::writeWorkbook(out.filePath(QStringLiteral("StudentData.xlsx"))).rows == n ? n : -1;
    else
        pages = printRoster(rows, pdf);
    const qint64 ns = t.nsecsElapsed();
    std::printf("%d %lld %lld %lld\n", pages, before, statusKb("VmHWM"), ns);
    return pages < 0 ? 1 : 0;
}

void BM_PrintPeakMemory(benchmark::State& state) {
    const int kind = int(state.range(0)), n = int(state.range(1));
    for (auto _ : state) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(kChild), QString::number(kind), QString::number(n)});
        const QList<QByteArray> f = p.waitForFinished(-1) && p.exitCode() == 0
                                        ? p.readAllStandardOutput().trimmed().split(' ')
                                        : QList<QByteArray>{};
        if (f.size() != 4) {
            state.SkipWithError("the child did not print");
            return;
        }
        state.SetIterationTime(double(f[3].toLongLong()) / 1e9);
        state.counters[kind == StudentXlsx ? "rows" : "pages"] = f[0].toDouble();
        state.counters["before_MB"] = f[1].toDouble() / 1024;
        state.counters["peak_MB"] = f[2].toDouble() / 1024;
        state.counters["growth_MB"] = (f[2].toDouble() - f[1].toDouble()) / 1024;
    }
    state.SetLabel(kind == LedgerPdf ? "ledger" : kind == RosterPdf ? "roster" : "student export");
}
BENCHMARK(BM_PrintPeakMemory)
    ->ArgNames({"kind", "students"})
    ->Args({LedgerPdf, 4000})
    ->Args({LedgerPdf, 16000})
    ->Args({RosterPdf, 4000})
    ->Args({RosterPdf, 16000})
    ->Args({StudentXlsx, 8000})
    ->Args({StudentXlsx, 64000})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchInitApp();
    if (argc == 4 && std::strcmp(argv[1], kChild) == 0)
        return child(Kind(std::atoi(argv[2])), std::atoi(argv[3]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
