// Applying a 36,000-record distribution result file, against the floor of
// the same updates by key through one prepared statement in one transaction.
#include "BenchSupport.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "transfers/distribution/DistribResult.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kStudents = 3000;
constexpr int kItems = 12;
constexpr qint64 kAmt = 50000;

QByteArray put(QByteArray rec, int off, const QByteArray& v) {
    return rec.replace(off, v.size(), v);
}
QByteArray zero(qint64 v, int w) {
    return QByteArray::number(v).rightJustified(w, '0');
}
QByteArray sno(int s) {
    return QByteArray::number(300000 + s);
}
QByteArray itemCd(int i) {
    return QByteArray::number(i + 1).rightJustified(2, '0');
}

struct Fixture {
    BenchRoot root;
    QByteArray file;
    const QString name = QStringLiteral("00210001.301");

    Fixture() {
        // May 2024's answers, read in that month: a transfer date more than a
        // year from today is refused.
        Clock::set(QDateTime(QDate(2024, 5, 16), QTime(10, 0)));
        DMData->CreateH300(QStringLiteral("20240503"));
        Transaction tx;
        Query ins(
            QStringLiteral("insert into H_300_20240503 (YearMon, SeqNo, SNo, ItemCd, BankCd, AcctNo, Amt, "
                           "ReplyTy, ExempTy, CustNo, Gcode) values ('202405','03',?,?,'21','110222333444',"
                           "?,'0','1',?,'01')"));
        for (int s = 0; s < kStudents; ++s)
            for (int i = 0; i < kItems; ++i)
                ins.add(QString::fromLatin1(sno(s)))
                    .add(QString::fromLatin1(itemCd(i)))
                    .add(kAmt)
                    .add(QStringLiteral("C") + QString::fromLatin1(sno(s)))
                    .exec();
        tx.commit();
        const QByteArray blank(80, ' ');
        file += put(put(put(put(blank, 0, "S"), 1, "C2"), 13, "21"), 15, "240510") + "\r\n";
        qint64 okAmt = 0;
        int okCnt = 0;
        for (int s = 0; s < kStudents; ++s)
            for (int i = 0; i < kItems; ++i) {
                const bool ok = (s + i) % 10 != 0;
                if (ok) okAmt += kAmt;
                okCnt += ok;
                QByteArray r = put(blank, 0, "D21110222333444");
                r = put(r, 20, zero(kAmt, 11));
                r = put(r, 33, ok ? "Y0000" : "N1007");
                r = put(r, 48, "C" + sno(s) + "STUDENT");
                r = put(r, 76, itemCd(i));
                file += r + "\r\n";
            }
        const int n = kStudents * kItems;
        // The processed and unprocessed counts and amounts, which the apply checks.
        QByteArray tail = put(put(put(put(blank, 0, "E"), 1, zero(n + 2, 7)), 8, zero(n, 7)), 15, zero(n * kAmt, 13));
        tail = put(put(put(put(tail, 28, zero(okCnt, 7)), 35, zero(okAmt, 13)), 48, zero(n - okCnt, 7)), 55,
                   zero(n * kAmt - okAmt, 13));
        file += tail + "\r\n";
    }

    void reset() {
        Database::exec(
            QStringLiteral("update H_300_20240503 set ReplyTy = '0', ProcDt = NULL, ReplyCd = NULL"));
        Database::exec(QStringLiteral("delete from M_SRFILE"));
        Database::exec(QStringLiteral("delete from M_APPLIED"));
        QDir rback(DMLib->dir(QStringLiteral("rback")));
        for (const QString& f : rback.entryList(QDir::Files))
            rback.remove(f);
        QFile out(DMLib->dir(QStringLiteral("recv")) + name);
        out.open(QIODevice::WriteOnly);
        out.write(file);
    }
};

void BM_ApplyDistribResult(benchmark::State& state) {
    Fixture fx;
    for (auto _ : state) {
        state.PauseTiming();
        fx.reset();
        state.ResumeTiming();
        ResultApplyRequest req;
        req.path = DMLib->dir(QStringLiteral("recv")) + fx.name;
        req.workBank = QStringLiteral("21");
        req.gcode = QStringLiteral("01");
        req.yearMon = QStringLiteral("202405");
        req.seqNo = QStringLiteral("03");
        req.listBankName = DMData->GetBankName(QStringLiteral("21"));
        req.listCount = QString::number(kStudents * kItems);
        const ResultApplyOutcome o = DistribResult::apply(req);
        if (o.status != ResultApplyOutcome::Status::Applied || o.appliedRows != kStudents * kItems)
            state.SkipWithError("not applied");
    }
    state.SetItemsProcessed(state.iterations() * kStudents * kItems);
}
BENCHMARK(BM_ApplyDistribResult)->Unit(benchmark::kMillisecond);

void BM_ApplyDistribFloor(benchmark::State& state) {
    Fixture fx;
    for (auto _ : state) {
        state.PauseTiming();
        fx.reset();
        state.ResumeTiming();
        // The same updates, prepared once, on SQLite's own interface.
        Transaction tx;
        sqlite3_stmt* up = nullptr;
        sqlite3_prepare_v2(
            Database::main().handle(),
            "update H_300_20240503 set ReplyCd = ?, ExempTy = '1', Amt = ?, ProcDt = ?, "
            "ReplyTy = '1' where YearMon = '202405' and SeqNo = '03' and SNo = ? and ItemCd = ?",
            -1, &up, nullptr);
        for (int s = 0; s < kStudents; ++s) {
            const QByteArray student = sno(s);
            for (int i = 0; i < kItems; ++i) {
                const QByteArray item = itemCd(i);
                sqlite3_bind_text(up, 1, "0000", 4, SQLITE_STATIC);
                sqlite3_bind_int64(up, 2, kAmt);
                sqlite3_bind_text(up, 3, "20240510", 8, SQLITE_STATIC);
                sqlite3_bind_text(up, 4, student.constData(), int(student.size()), SQLITE_STATIC);
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
BENCHMARK(BM_ApplyDistribFloor)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
