#pragma once
#include <QByteArray>
#include <QString>

// The book of applied result files: the SHA-256 of every file whose results
// went into the database, written in the same transaction as its rows. It is
// the only judge of "applied": the file's place (recv or rback) and the
// M_SRFILE book row can both be lost or deleted, the fingerprint cannot.
namespace AppliedFiles {

// Lower-case hex SHA-256 of a file's content.
QString fingerprint(const QByteArray& content);
// Of a file on disk; empty when it cannot be read.
QString fingerprintOfFile(const QString& path);

// Creates the table when missing; a new table is filled once from the files
// in rback, which were applied before the table existed.
bool ensureTable(QString* error = nullptr);
// Fingerprints of every file in rback (existing ones are kept).
bool fillFromRback(QString* error = nullptr);

bool isApplied(const QString& hash);
// Records an applied file under the name it is archived as in rback. Run it
// in the transaction that applies the rows.
bool record(const QString& hash, const QString& archiveName, QString* error = nullptr);
// The rback name recorded for the fingerprint; empty when not applied.
QString archiveName(const QString& hash);

} // namespace AppliedFiles
