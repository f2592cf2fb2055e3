#include "BenchSupport.h"

#include "frame/Startup.h"

#include "platform/db/Database.h"
#include "platform/sys/System.h"
#include "students/StudentStore.h"

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

QString benchSNo(int i) {
    return QString::number(1 + i / 2000) +
           QStringLiteral("%1").arg(i % 2000 / 40 + 1, 2, 10, QLatin1Char('0')) +
           QStringLiteral("%1").arg(i % 40 + 1, 2, 10, QLatin1Char('0'));
}

QList<StudentRow> benchStudents(int n) {
    QList<StudentRow> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        StudentRow s;
        s.custNo = QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'));
        s.sNo = benchSNo(i);
        s.nm = QStringLiteral("학생%1").arg(i);
        s.sex = i % 2 ? QStringLiteral("1") : QStringLiteral("2");
        s.bankCd = QStringLiteral("04");
        s.acctNo = QStringLiteral("1234%1").arg(i, 8, 10, QLatin1Char('0'));
        s.owr = QStringLiteral("보호자%1").arg(i);
        s.useTy = i % 10 ? QStringLiteral("1") : QStringLiteral("0");
        s.inDate = QStringLiteral("20250302");
        out << s;
    }
    return out;
}

StoredTable storedTable(const QString& name) {
    StoredTable t;
    t.name = name;
    sqlite3* db = Database::main().handle();
    sqlite3_stmt* st = nullptr;
    const QByteArray schema = "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?";
    sqlite3_prepare_v2(db, schema.constData(), int(schema.size()), &st, nullptr);
    const QByteArray n = name.toUtf8();
    sqlite3_bind_text(st, 1, n.constData(), int(n.size()), SQLITE_STATIC);
    if (sqlite3_step(st) == SQLITE_ROW) t.create = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    const QByteArray rows = "SELECT * FROM \"" + n + "\" ORDER BY rowid";
    sqlite3_prepare_v2(db, rows.constData(), int(rows.size()), &st, nullptr);
    t.columns = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        QVariantList row;
        for (int c = 0; c < t.columns; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_NULL:
                row << QVariant();
                break;
            case SQLITE_INTEGER:
                row << QVariant(qint64(sqlite3_column_int64(st, c)));
                break;
            default:
                row << QVariant(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                           sqlite3_column_bytes(st, c)));
            }
        }
        t.rows << row;
    }
    sqlite3_finalize(st);
    return t;
}

void floorRebuild(const StoredTable& t) {
    sqlite3* db = Database::main().handle();
    const QByteArray name = "\"" + t.name.toUtf8() + "\"";
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_exec(db, ("DROP TABLE IF EXISTS " + name).constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, t.create.constData(), nullptr, nullptr, nullptr);
    QByteArray sql = "INSERT INTO " + name + " VALUES (?";
    for (int c = 1; c < t.columns; ++c)
        sql += ",?";
    sql += ")";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr);
    for (const QVariantList& row : t.rows) {
        for (int c = 0; c < t.columns; ++c) {
            const QVariant& v = row.at(c);
            if (v.isNull())
                sqlite3_bind_null(st, c + 1);
            else if (v.typeId() == QMetaType::QByteArray) {
                const QByteArray& b = *static_cast<const QByteArray*>(v.constData());
                sqlite3_bind_text(st, c + 1, b.constData(), int(b.size()), SQLITE_STATIC);
            } else
                sqlite3_bind_int64(st, c + 1, v.toLongLong());
        }
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}
