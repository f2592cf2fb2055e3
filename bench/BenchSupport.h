#pragma once
#include <QString>
#include <QTemporaryDir>

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
