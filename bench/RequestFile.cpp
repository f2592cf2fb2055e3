#include "BenchSupport.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/ui/Msg.h"
#include "transfers/common/BatFile.h"
#include "transfers/collection/CollectFileRun.h"

#include "data/DMModule.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

const QString kRunKey = QStringLiteral("20260301");

// One round of 36,000 rows: 12,000 students times three items, every row at
// the bank family under test.
void fillRound(const QStringList& banks) {
    DMData->CreateH200(kRunKey);
    Transaction tx;
    for (const char* id : {"01", "02", "03"})
        Database::insertRow(QStringLiteral("C_ITEM"),
                            {{QStringLiteral("ItemCd"), QStringLiteral("A") + QLatin1String(id + 1)},
                             {QStringLiteral("ItemID"), QString::fromLatin1(id)},
                             {QStringLiteral("ItemNm"), QStringLiteral("수업료")},
                             {QStringLiteral("Gcode"), QStringLiteral("01")}});
    for (int s = 0; s < 12000; ++s) {
        const QString sno = QStringLiteral("%1").arg(100000 + s);
        const QString bank = banks.at(s % banks.size());
        for (const char* id : {"01", "02", "03"})
            Database::insertRow(
                QStringLiteral("H_200_") + kRunKey,
                {{QStringLiteral("YearMon"), QStringLiteral("202603")},
                 {QStringLiteral("SeqNo"), QStringLiteral("01")},
                 {QStringLiteral("SNo"), sno},
                 {QStringLiteral("ItemCd"), QString::fromLatin1(id)},
                 {QStringLiteral("BankCd"), bank},
                 {QStringLiteral("AcctNo"), QStringLiteral("3011%1").arg(s, 10, 10, QLatin1Char('0'))},
                 {QStringLiteral("Amt"), 1000 + s},
                 {QStringLiteral("ReplyTy"), QStringLiteral("0")},
                 {QStringLiteral("ExempTy"), QStringLiteral("1")},
                 {QStringLiteral("CustNo"), QStringLiteral("08888%1").arg(s, 5, 10, QLatin1Char('0'))},
                 {QStringLiteral("Gcode"), QStringLiteral("01")}});
    }
    tx.commit();
}

enum class Run { Writer, Floor };

// The request file of one bank; the floor is the bare SELECT of the same rows
// (the writer's own statement) and the writing of the same bytes.
void writeRound(benchmark::State& state, const char* bank, const QStringList& rowBanks, Run run) {
    BenchRoot root;
    Msg::setHandler([](const MsgBox&) { return MsgResult::Ok; });
    fillRound(rowBanks);
    Database::insertRow(QStringLiteral("C_ACCT"),
                        {{QStringLiteral("BankCd"), QString::fromLatin1(bank)},
                         {QStringLiteral("Gubun"), QStringLiteral("집금")},
                         {QStringLiteral("AcctNo"), QStringLiteral("30111111111111")},
                         {QStringLiteral("CompyNo"), QStringLiteral("SCH0000001")},
                         {QStringLiteral("Passwd"), QStringLiteral("4321")},
                         {QStringLiteral("Gcode"), QStringLiteral("01")},
                         {QStringLiteral("RepYn"), QStringLiteral("Y")}});
    CollectSelection sel;
    sel.Gcode = QStringLiteral("01");
    sel.BankCd = QString::fromLatin1(bank);
    sel.YearMon = QStringLiteral("202603");
    sel.SeqNo = QStringLiteral("01");
    const auto acc = CollectFileRun::CollectAccounts(sel.BankCd, sel.Gcode);
    int count = 0;
    QString name;
    auto write = [&] {
        pSetMasterAcct(acc.AcctLines.value(0));
        return bCreateCollectFile(QStringLiteral("260317"), QStringLiteral("260317"), sel.BankCd, kRunKey,
                                  QString(), sel, name, count);
    };
    if (run == Run::Writer) {
        for (auto _ : state)
            if (!write()) state.SkipWithError("no file written");
    } else {
        if (!write()) state.SkipWithError("no file written");
        QFile f(DMLib->dir(QStringLiteral("send")) + name);
        f.open(QIODevice::ReadOnly);
        const QByteArray bytes = f.readAll();
        const BatFile::BuiltQuery q = pBuildCollectQuery(kRunKey, sel);
        const QString out = DMLib->dir(QStringLiteral("Temp")) + QStringLiteral("floor.out");
        for (auto _ : state) {
            if (floorSelect(q.sql, q.binds) != count) state.SkipWithError("rows differ");
            floorWrite(out, bytes);
        }
        state.counters["MB"] = double(bytes.size()) / 1e6;
    }
    state.counters["rows"] = count;
    state.SetItemsProcessed(int64_t(state.iterations()) * count);
    Msg::setHandler({});
}

void BM_Layout200(benchmark::State& state) {
    writeRound(state, "11", {QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("10")}, Run::Writer);
}
void BM_Layout200_Floor(benchmark::State& state) {
    writeRound(state, "11", {QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("10")}, Run::Floor);
}
void BM_Layout80(benchmark::State& state) {
    writeRound(state, "04", {QStringLiteral("04")}, Run::Writer);
}
void BM_Layout80_Floor(benchmark::State& state) {
    writeRound(state, "04", {QStringLiteral("04")}, Run::Floor);
}

BENCHMARK(BM_Layout200)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Layout200_Floor)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Layout80)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Layout80_Floor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
