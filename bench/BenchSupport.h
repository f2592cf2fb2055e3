#pragma once
#include <QString>
#include <QTemporaryDir>
#include <QByteArray>
#include <QList>
#include <QVariantList>

struct StudentRow;

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

// The student number of the i-th of a school's students: 2,000 a grade,
// 40 a class.
QString benchSNo(int i);
// n students of such a school, every tenth transferred out.
QList<StudentRow> benchStudents(int n);
// A table as stored: the statement that made it and its rows in rowid order,
// text as UTF-8 bytes, integers as numbers, NULL as a null value.
struct StoredTable {
    QString name;
    QByteArray create;
    int columns = 0;
    QList<QVariantList> rows;
};
StoredTable storedTable(const QString& name);
// The floor of a work table's build: the table dropped and made again and
// its rows inserted through one prepared statement, in one transaction.
void floorRebuild(const StoredTable& t);
