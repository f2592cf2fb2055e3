#pragma once
#include "reports/ReportCatalog.h"

#include <QDate>

#include <functional>
#include <utility>

class Query;

// Year-end settlement data (연말정산자료): the payments of one fiscal year
// for the items the office gives payment codes, gathered into the work
// table M_SumTax and listed by quarter (period codes of four date ranges)
// or by month (period code "2" + month, sums per student, code and month),
// and written into a workbook. The round tables are only read.
//
// Selection: gcode (item group 1), the student range (hak1 ... bun2), and
// the extras "year" (yyyy), "sort" ("0" by student, "1" by payment date),
// "refund" ("0" refunds taken off, "1" not). Quarterly: "q1" ... "q4"
// (period codes), "q1s", "q1e" ... "q4e" (quarter dates yyyymmdd), "nap1" ...
// "nap3" with "items1" ... "items3" (ItemIDs, comma-separated). Monthly:
// "nap1" ... "nap10" with "items1" ... "items10" for group 1, "group2",
// "nap21" ... "nap24" with "items21" ... "items24". An extra left out takes
// the window's default.

namespace YearEndTax {

// A refusal and the control (object name) that takes the focus.
struct Refusal {
    ReportBox box;
    QString focus;
};

// One row of M_SumTax.
struct SumTaxRow {
    QString custNo, sno, name, itemCd, gcode, procDt, socId, napCd, procMon;
    qint64 amt = 0;
};

} // namespace YearEndTax

Q_DECLARE_TYPEINFO(YearEndTax::SumTaxRow, Q_RELOCATABLE_TYPE);

namespace YearEndTax {

// The window's defaults.
inline const QStringList kQuarterCodes{QStringLiteral("101"), QStringLiteral("102"), QStringLiteral("103"),
                                       QStringLiteral("104")};
// First and last day of calendar quarter k (1-4) of a year.
QDate quarterStart(int year, int k);
QDate quarterEnd(int year, int k);

// The value of an extra, or def when the selection does not name it.
QString extraOr(const ReportSelection& s, const QString& key, const QString& def);
// The two-digit item IDs of a comma list held under key.
QStringList ids(const ReportSelection& s, const QString& key);
// The error box of a work table that could not be built.
ReportBox failed(const QString& text);

// Round tables of a fiscal year: the year's and the previous December's,
// in name order. None unless year is four digits.
QStringList fiscalRounds(const QString& year);
// Student-number bounds of M_CUST (column col) as conditions.
void addStudentRange(ReportWhere& w, const QString& col, const QString& first, const QString& last);
// The ticked items of item group 1 (gcode, itemIds) and of item group 2
// ("group2", "items2"; none when no second group is chosen).
struct TwoGroups {
    QString g1, g2;
    QStringList items1, items2;
    bool empty() const { return items1.isEmpty() && items2.isEmpty(); }
};
TwoGroups twoGroups(const ReportSelection& s);
// "and (<part> or <part>)": the group parts of the groups that have items.
void addGroups(ReportWhere& w, const QList<std::pair<QString, QStringList>>& groups);
// Reads each round table (t1) joined with its students (t2, M_CUST) under
// where, in roster order, then the table's; take gets every row. False with
// the database's error.
bool readJoined(const QStringList& tables, const QString& columns, const ReportWhere& where,
                const std::function<void(const Query&)>& take, QString* error);
// The same, stopping at the first row take refuses (with its error).
bool readJoined(const QStringList& tables, const QString& columns, const ReportWhere& where,
                const std::function<bool(const Query&, QString*)>& take, QString* error);
// "?,?,?" for n values.
QString marks(int n);
// "(Gcode = ? and ItemCd IN (...))" of one group's items, its values appended to binds.
QString groupPart(const QString& gcode, const QStringList& items, QVariantList* binds);
// M_SumTax made anew holding rows (seq 1, 2, ... in order), in one
// transaction; false with the database's error, the old table kept.
bool rebuildSumTax(const QList<SumTaxRow>& rows, QString* error);

std::optional<Refusal> checkQuarterly(const ReportSelection& s);
std::optional<Refusal> checkMonthly(const ReportSelection& s);
// The searches (M_SumTax rebuilt). source holds, per grid row, the stored
// payment date (procDt) and the amount (amt) the workbook writes.
ReportListing quarterly(const ReportSelection& s);
ReportListing monthly(const ReportSelection& s);

// "<year>_연말정산자료.xlsx"
QString workbookName(const QString& year);
// The workbook of a listing (the grid of the last search) with the year
// text of the window; a box when there is nothing to write or the file
// cannot be written, nothing on success.
std::optional<ReportBox> writeQuarterly(const ReportListing& l, const QString& year, const QString& path);
std::optional<ReportBox> writeMonthly(const ReportListing& l, const QString& year, const QString& path);
// Search and workbook in one (the driver).
std::optional<ReportBox> exportQuarterly(const ReportSelection& s, const QString& path, int* rows = nullptr);
std::optional<ReportBox> exportMonthly(const ReportSelection& s, const QString& path, int* rows = nullptr);

} // namespace YearEndTax
