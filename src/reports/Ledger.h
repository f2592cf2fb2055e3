#pragma once
#include "platform/db/Database.h"
#include "platform/report/ReportDocument.h"
#include "reports/ReportCatalog.h"

// The receipt ledger (수납부): per student and item, the transfer date and
// the amount paid in each month of a fiscal year (March to February), built
// into the work table MSUNAP and printed one class a page. Selection: the
// student-number range; extras "year" (yyyy), "grades" (grade codes, comma
// separated) and "itemcds" (C_ITEM.ItemCd of the chosen items, comma
// separated).

namespace Ledger {

inline const QString kMenuName = QStringLiteral("수납부");

// One row of MSUNAP: a student and item with a slot per calendar month.
struct Entry {
    QString sNo, itemCd, nm;
    QString procDt[12];
    qint64 procAmt[12] = {};
    bool used[12] = {};
    int num = 0;
};

} // namespace Ledger

Q_DECLARE_TYPEINFO(Ledger::Entry, Q_RELOCATABLE_TYPE);

namespace Ledger {

TableDef tableDef();

// The checks before a build, in their order; nothing when they pass.
std::optional<ReportBox> check(const ReportSelection& s);
// The collection rounds of a fiscal year, in name order: months 3-12 of the
// year, then 1 and 2 of the next.
QStringList fiscalTables(const QString& year);
// The rows a build writes, in insertion order (Num 1, 2, ...).
bool collect(const ReportSelection& s, QList<Entry>* out, QString* error);
// Rebuilds MSUNAP whole or not at all; the job log records the outcome after
// it happened. On failure the previous table stays.
bool build(const ReportSelection& s, int* rows, QString* error);

// MSUNAP's rows by Num; false when the table is missing.
bool entries(QList<Entry>* out, const QString& order = QStringLiteral("Num"));
// Rows in MSUNAP (0 when the table is missing).
qint64 count();

// The build, then MSUNAP's rows (Num, SNo, Nm, ItemCd, then the months 3 ..
// 12, 1, 2 as "yyyymmdd/amount"); count the rows and total the amounts.
ReportListing list(const ReportSelection& s);
// The amount as the ledger prints it: thousands separated, at least three
// digits, zero blank.
QString ledgerAmount(qint64 v);
// The printout of MSUNAP as it stands (not built again).
ReportDocument printTable();
std::optional<ReportBox> print(const ReportSelection& s, ReportDocument* doc);

} // namespace Ledger
