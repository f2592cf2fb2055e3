// Backup and restore of a data root with 10,000 students and 300 round
// tables.
#include "BenchSupport.h"

#include "basic/DataBackup.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"

#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <zip.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kStudents = 10000;
constexpr int kRounds = 300;
constexpr int kRowsPerRound = 200;

BenchRoot& root() {
    static BenchRoot* r = [] {
        auto* b = new BenchRoot;
        DMLib->FSchCode = QStringLiteral("B001");
        Transaction tx;
        for (int i = 0; i < kStudents; ++i)
            Database::insertRow(
                QStringLiteral("M_CUST"),
                {{QStringLiteral("CustNo"), QString::number(1000000000LL + i)},
                 {QStringLiteral("SNo"), QStringLiteral("%1").arg(10000 + i % 90000)},
                 {QStringLiteral("Nm"), QStringLiteral("학생이름%1").arg(i)},
                 {QStringLiteral("BankCd"), QStringLiteral("11")},
                 {QStringLiteral("AcctNo"), QStringLiteral("3020%1").arg(i, 8, 10, QLatin1Char('0'))},
                 {QStringLiteral("Owr"), QStringLiteral("보호자%1").arg(i)}});
        for (int r = 0; r < kRounds; ++r) {
            const QString suffix = QStringLiteral("%1%2")
                                       .arg(200001 + (r / 12) * 100 + r % 12)
                                       .arg(1 + r % 3, 2, 10, QLatin1Char('0'));
            DMData->CreateH200(suffix);
            for (int i = 0; i < kRowsPerRound; ++i)
                Database::insertRow(QStringLiteral("H_200_") + suffix,
                                    {{QStringLiteral("YearMon"), suffix.left(6)},
                                     {QStringLiteral("SeqNo"), suffix.mid(6)},
                                     {QStringLiteral("SNo"), QStringLiteral("%1").arg(10000 + i)},
                                     {QStringLiteral("ItemCd"), QStringLiteral("01")},
                                     {QStringLiteral("Amt"), 150000 + i},
                                     {QStringLiteral("ReplyTy"), QStringLiteral("1")},
                                     {QStringLiteral("Nm"), QStringLiteral("학생이름%1").arg(i)}});
        }
        tx.commit();
        return b;
    }();
    return *r;
}

void BM_Backup(benchmark::State& state) {
    root();
    QString archive;
    for (auto _ : state) {
        if (!DataBackup::makeBackup(&archive)) state.SkipWithError("backup failed");
        state.PauseTiming();
        state.counters["archive_MB"] = double(QFileInfo(archive).size()) / 1e6;
        state.counters["db_MB"] =
            double(QFileInfo(DMLib->FDataDir + QStringLiteral("/data/school.db")).size()) / 1e6;
        QFile::remove(archive);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->Iterations(5);

// Its floor: VACUUM INTO and the archive of that copy at the same level,
// straight on SQLite's and libzip's interfaces.
void BM_Backup_Floor(benchmark::State& state) {
    root();
    const QString dir = DMLib->FDataDir + QStringLiteral("/Temp/");
    const QByteArray snap = QFile::encodeName(dir + QStringLiteral("floor.db"));
    const QByteArray zipName = QFile::encodeName(dir + QStringLiteral("floor.zip"));
    for (auto _ : state) {
        std::remove(snap.constData());
        std::remove(zipName.constData());
        const std::string vacuum = "VACUUM INTO '" + snap.toStdString() + "'";
        if (sqlite3_exec(Database::main().handle(), vacuum.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            state.SkipWithError("vacuum failed");
        int code = 0;
        zip_t* za = zip_open(zipName.constData(), ZIP_CREATE, &code);
        zip_source_t* src = zip_source_file(za, snap.constData(), 0, -1);
        const zip_int64_t i = zip_file_add(za, "school.db", src, ZIP_FL_OVERWRITE);
        zip_set_file_compression(za, zip_uint64_t(i), ZIP_CM_DEFLATE, 6);
        if (zip_close(za) < 0) state.SkipWithError("zip failed");
        state.PauseTiming();
        state.counters["archive_MB"] = double(QFileInfo(QString::fromLocal8Bit(zipName)).size()) / 1e6;
        state.ResumeTiming();
    }
    std::remove(snap.constData());
    std::remove(zipName.constData());
}
BENCHMARK(BM_Backup_Floor)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Restore(benchmark::State& state) {
    root();
    QString archive;
    DataBackup::makeBackup(&archive);
    for (auto _ : state) {
        const DataBackup::RestoreCheck r = DataBackup::restoreArchive(archive);
        if (!r.ok()) state.SkipWithError("restore failed");
    }
    QFile::remove(archive);
}
BENCHMARK(BM_Restore)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
