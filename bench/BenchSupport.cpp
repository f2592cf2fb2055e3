#include "BenchSupport.h"

#include "frame/Startup.h"

#include "platform/db/Database.h"
#include "platform/sys/System.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <unistd.h>
#include <vector>

void benchInitApp() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        // The process set up as main() sets it up.
        System::keepFreedMemory();
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

BenchRoot::BenchRoot() {
    benchInitApp();
    qputenv("ZQ_REGISTRY", (dir_.path() + QStringLiteral("/registry.ini")).toLocal8Bit());
    QString e;
    Startup::createServices(dir_.path(), &e);
}

BenchRoot::~BenchRoot() { Startup::destroyServices(); }

void BenchRoot::restart() {
    Startup::destroyServices();
    QString e;
    Startup::createServices(dir_.path(), &e);
}

qint64 floorSelect(const QString& sql, const QVariantList& binds) {
    sqlite3* db = Database::main().handle();
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK) return -1;
    std::vector<QByteArray> held; // bound text must live until the step
    for (int i = 0; i < binds.size(); ++i) {
        const QVariant& v = binds.at(i);
        if (v.typeId() == QMetaType::QString) {
            held.push_back(v.toString().toUtf8());
            sqlite3_bind_text(st, i + 1, held.back().constData(), int(held.back().size()), SQLITE_STATIC);
        } else {
            sqlite3_bind_int64(st, i + 1, v.toLongLong());
        }
    }
    qint64 rows = 0;
    size_t bytes = 0;
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < n; ++c) {
            sqlite3_column_text(st, c);
            bytes += size_t(sqlite3_column_bytes(st, c));
        }
    }
    sqlite3_finalize(st);
    benchmark::DoNotOptimize(bytes);
    return rows;
}

void floorWrite(const QString& file, const QByteArray& bytes) {
    std::FILE* f = std::fopen(QFile::encodeName(file).constData(), "wb");
    if (!f) return;
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f);
    std::fflush(f);
    ::fsync(fileno(f)); // on the disk before it is booked, as a request file is
    std::fclose(f);
}
