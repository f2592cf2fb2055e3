#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// Index repair (인덱스복구): the database's tables with their descriptions;
// the tables of a known kind have their indexes rebuilt.
namespace IndexRepair {

struct TableRow {
    QString name;
    QString description; // empty: not repaired
};
// Every table of the database, by name.
QList<TableRow> tables();
QString description(const QString& table);
// The job-log text of a repaired table; empty for a table not repaired.
QString logText(const QString& table);
// The box a failed repair shows: its text, and whether it is the error kind.
QString failText(const QString& table, bool* errorIcon);

struct Outcome {
    QStringList repaired;   // tables rebuilt, in the order given
    QStringList failed;     // tables whose rebuild failed
    QStringList integrity;  // lines of the database's integrity check
    bool integrityOk = false;
};
// Rebuilds the indexes of the named tables of a known kind (others are
// passed over), each with its job-log row, then checks the database.
Outcome repair(const QStringList& names);
// PRAGMA integrity_check of the open database.
QStringList integrityCheck(bool* ok);

} // namespace IndexRepair
