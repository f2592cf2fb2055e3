#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// The book of applied result files: a fingerprint of every file whose results
// went into the database, written in the same transaction as its rows. It is
// the only judge of "applied": the file's place (recv or rback) and the
// M_SRFILE book row can both be lost or deleted, the fingerprint cannot.
//
// A result is judged on its records, not on its bytes: the fingerprint is the
// SHA-256 of its lines as the readers split them, each ended by CR LF, so a
// copy saved with other line ends, with blank lines or a ^Z at its end is the
// same result. Files booked before were fingerprinted byte for byte; those
// fingerprints are kept and still refuse their files.
namespace AppliedFiles {

// A result file's lines as every reader splits them: CR LF, LF and a lone CR
// end a line alike; a final ^Z and the empty lines at the end are dropped.
QList<QByteArray> lines(const QByteArray& content);

// Lower-case hex SHA-256 of a file's content, byte for byte.
QString fingerprint(const QByteArray& content);
// Of a file on disk, byte for byte; empty when it cannot be read.
QString fingerprintOfFile(const QString& path);
// Of a result's records: its lines, each ended by CR LF.
QString fingerprintOfLines(const QList<QByteArray>& lines);

// The two fingerprints a result file is judged by.
struct Prints {
    QString records; // of its lines: what is recorded from now on
    QString bytes;   // of its content as it stands: how older books knew it
    bool valid() const { return !records.isEmpty(); }
};
Prints printsOf(const QByteArray& content);
// Of a content already split by lines: a content whose every line ends with
// CR LF and nothing else follows is its records, so one digest serves both.
Prints printsOf(const QByteArray& content, const QList<QByteArray>& lines);
// Of a file on disk; empty when it cannot be read.
Prints printsOfFile(const QString& path);

// Creates the table when missing; a new table is filled once from the files
// in rback, which were applied before the table existed. A table of an older
// version, which knew files by their bytes only, gets the records' prints of
// every archive in rback once.
bool ensureTable(QString* error = nullptr);
// Both prints of every file in rback (existing ones are kept).
bool fillFromRback(QString* error = nullptr);

bool isApplied(const QString& hash);
// Applied under either print.
bool isApplied(const Prints& p);
// Records an applied file under the name it is archived as in rback. Run it
// in the transaction that applies the rows.
bool record(const QString& hash, const QString& archiveName, QString* error = nullptr);
// The rback name recorded for the fingerprint; empty when not applied.
QString archiveName(const QString& hash);
QString archiveName(const Prints& p);

} // namespace AppliedFiles
