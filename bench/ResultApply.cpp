// Applying a 36,000-record result file, against the floor of the same
// updates by key through one prepared statement in one transaction.
#include "BenchSupport.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "transfers/common/ResultFile.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kStudents = 3000;
constexpr int kItems = 12;

QByteArray put(QByteArray rec, int off, const QByteArray& v) {
    return rec.replace(off, v.size(), v);
}
QByteArray zero(qint64 v, int w) {
    return QByteArray::number(v).rightJustified(w, '0');
}

QString custNo(int s) {
    return QStringLiteral("10000%1").arg(s, 5, 10, QLatin1Char('0'));
}
QString itemId(int i) {
    return QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

struct Fixture {
    BenchRoot root;
    QByteArray file;

    Fixture() {
        // May 2024's answers, read in that month: a transfer date more than a
        // year from today is refused.
        Clock::set(QDateTime(QDate(2024, 5, 16), QTime(10, 0)));
        DMData->CreateH200(QStringLiteral("20240503"));
        Transaction tx;
        Query ins(
            QStringLiteral("insert into H_200_20240503 (YearMon, SeqNo, SNo, ItemCd, BankCd, Amt, ReplyTy, "
                           "ExempTy, CustNo) values ('202405','03',?,?,'11',50000,'0','1',?)"));
        for (int s = 0; s < kStudents; ++s)
            for (int i = 0; i < kItems; ++i) {
                ins.add(QStringLiteral("3%1").arg(s, 4, 10, QLatin1Char('0'))).add(itemId(i)).add(custNo(s));
                ins.exec();
            }
        tx.commit();
        QByteArray blank(200, ' ');
        file += put(put(put(put(blank, 0, "H"), 4, "011"), 21, "20240510"), 72, "2405030000") + "\r\n";
        for (int s = 0; s < kStudents; ++s)
            for (int i = 0; i < kItems; ++i) {
                QByteArray r = put(blank, 0, "D");
                r = put(r, 20, " " + itemId(i).toLatin1());
                r = put(r, 24, "11");
                r = put(r, 42, zero(50000, 13));
                r = put(r, 94, custNo(s).toLatin1());
                r = put(r, 154, (s + i) % 10 ? "Y" : "N");
                r = put(r, 155, (s + i) % 10 ? "0000" : "1000");
                file += r + "\r\n";
            }
        // The trailer carries the records' total, which the apply checks.
        file += put(put(put(blank, 0, "E"), 1, zero(kStudents * kItems + 2, 7)), 15,
                    zero(qint64(kStudents) * kItems * 50000, 15)) +
                "\r\n";
    }

    void reset() {
        Database::exec(
            QStringLiteral("update H_200_20240503 set ReplyTy = '0', ProcDt = NULL, ReplyCd = NULL"));
        Database::exec(QStringLiteral("delete from M_SRFILE"));
        // The same file again each round: forget that it was applied.
        Database::exec(QStringLiteral("delete from M_APPLIED"));
        QDir rback(DMLib->dir(QStringLiteral("rback")));
        for (const QString& f : rback.entryList(QDir::Files))
            rback.remove(f);
        QFile out(DMLib->dir(QStringLiteral("recv")) + QStringLiteral("00110001.201"));
        out.open(QIODevice::WriteOnly);
        out.write(file);
    }
};

void BM_ApplyResultFile(benchmark::State& state) {
    Fixture fx;
    for (auto _ : state) {
        state.PauseTiming();
        fx.reset();
        state.ResumeTiming();
        ResultApplyRequest req;
        req.path = DMLib->dir(QStringLiteral("recv")) + QStringLiteral("00110001.201");
        req.workBank = QStringLiteral("11");
        req.gcode = QStringLiteral("01");
        req.listBankName = QStringLiteral("농협중앙");
        req.listCount = QString::number(kStudents * kItems);
        const ResultApplyOutcome o = ResultApplier::apply(req);
        if (o.status != ResultApplyOutcome::Status::Applied) state.SkipWithError("not applied");
    }
    state.SetItemsProcessed(state.iterations() * kStudents * kItems);
}
BENCHMARK(BM_ApplyResultFile)->Unit(benchmark::kMillisecond);

void BM_ApplyFloor(benchmark::State& state) {
    Fixture fx;
    for (auto _ : state) {
        state.PauseTiming();
        fx.reset();
        state.ResumeTiming();
        // The same updates, prepared once, on SQLite's own interface.
        Transaction tx;
        sqlite3_stmt* up = nullptr;
        sqlite3_prepare_v2(Database::main().handle(),
                           "update H_200_20240503 set ReplyCd = ?, ExempTy = '1', Amt = ?, ProcDt = ?, "
                           "ReplyTy = '1' where CustNo = ? and ItemCd = ?",
                           -1, &up, nullptr);
        for (int s = 0; s < kStudents; ++s) {
            const QByteArray cust = custNo(s).toUtf8();
            for (int i = 0; i < kItems; ++i) {
                const QByteArray item = itemId(i).toUtf8();
                sqlite3_bind_text(up, 1, "0000", 4, SQLITE_STATIC);
                sqlite3_bind_int64(up, 2, 50000);
                sqlite3_bind_text(up, 3, "20240510", 8, SQLITE_STATIC);
                sqlite3_bind_text(up, 4, cust.constData(), int(cust.size()), SQLITE_STATIC);
                sqlite3_bind_text(up, 5, item.constData(), int(item.size()), SQLITE_STATIC);
                sqlite3_step(up);
                sqlite3_reset(up);
            }
        }
        sqlite3_finalize(up);
        tx.commit();
    }
    state.SetItemsProcessed(state.iterations() * kStudents * kItems);
}
BENCHMARK(BM_ApplyFloor)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
