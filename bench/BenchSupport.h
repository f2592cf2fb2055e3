#pragma once
#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

// A data root for benchmarks, with the start-up services created on it.
class BenchRoot {
public:
    BenchRoot();
    ~BenchRoot();
    QString path() const { return dir_.path(); }
    void restart();

private:
    QTemporaryDir dir_;
};

// Makes a QCoreApplication for the process once.
void benchInitApp();

// Floors, measured in the same run on SQLite's own interface: every row of
// the statement stepped and each column read as UTF-8 bytes; returns the
// number of rows.
qint64 floorSelect(const QString& sql, const QVariantList& binds = {});
// Bytes written to a new file and flushed to the disk, as a request file is.
void floorWrite(const QString& file, const QByteArray& bytes);
