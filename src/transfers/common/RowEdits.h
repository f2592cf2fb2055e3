#pragma once
#include <QString>
#include <QStringList>

#include <optional>

// The row edits of the collection work window, as plain functions on values:
// each change of a round row (and of M_EXEMP / M_CUST where it reaches them)
// is written together with its job-log line in one transaction.
namespace RowEdit {

// The round shown and the group combo's whole text ("01.기본").
struct Round {
    QString yearMon, seqNo;
    QString groupText;
    QString table() const { return QStringLiteral("H_200_") + yearMon + seqNo; }
};

// The cells of one grid row that the edits read.
struct Row {
    QString sno, nm, itemName, bankCd, acctNo, amt, exempTy, replyTy, unpaid, custNo, gcode, itemCd;
};
// From the 21 cells of a grid row.
Row fromCells(const QStringList& cells);

// Refused: a value the dialog would not have passed; caption and error are
// the dialog's box and nothing was written.
enum class Outcome { Done, NotFound, Failed, Refused };
struct Result {
    Outcome outcome = Outcome::Failed;
    QString error;   // the database's reason when Failed, the box's text when Refused
    QString caption; // the box's caption when Refused
    int rows = 0;    // rows changed
    bool done() const { return outcome == Outcome::Done; }
};

// Amounts are whole won: digits, commas allowed; anything else (and blank)
// is no amount.
std::optional<qint64> parseAmount(const QString& text);

// ---- exemption (column 6): "1" -> "0" -> "2" -> "1"
struct ExempStep {
    bool valid = false;
    QString next;     // the new ExempTy
    QString question; // the permanence question
    QString caption;
    int kind = 0;      // pRegExemp: 1 full, 2 partial, 0 none
    QString logEnding; // appended to the [면제수정] line
};
ExempStep exempStep(const QString& cell);
// The row takes step.next; with permanent also M_EXEMP (pRegExemp).
Result changeExemption(const Round& r, const Row& row, const ExempStep& step, bool permanent);

// ---- one amount as typed (whole won, commas allowed); 0 makes the row
// wholly exempt
Result editAmount(const Round& r, const Row& row, const QString& amount);

// ---- unpaid reason (unprocessed rows) and remark (processed rows); both
// are stored in Unpaid, at most 30 CP949 bytes without control characters;
// a blank remark is refused
Result editUnpaid(const Round& r, const Row& row, const QString& text);
Result editBigo(const Round& r, const Row& row, const QString& text);

// ---- account: the roster and the unprocessed rows of every collection
// round; the registration states go back to "N"
Result changeAccount(const Round& r, const Row& row, const QString& bankEntry, const QString& acctNo);

// ---- bulk amount ("금액수정")
struct BulkAmount {
    QString itemId;   // "" every item
    QString grpNm;    // "" every student group
    QString sno;      // MakeSNo of the dialog's edits; "" every student
    QString amount;   // as typed: whole won, commas allowed
    bool partFree = false, allFree = false;
    QString rowNm, rowReply; // the current row's name and state, for the log
};
// NotFound: no rule applies (nothing chosen), nothing changes.
Result bulkAmount(const Round& r, const BulkAmount& b);
QString bulkLogLine(const Round& r, const BulkAmount& b, bool failed);

// ---- transfer status change
struct StatusChange {
    int selReplyTy = 4;  // the dialog's choice: 0 미처리, 1 이체처리, 2 현금수납, 3 환불처리
    QString date;        // yyyymmdd
    QString amount;      // the dialog's amount as typed (whole won, commas allowed)
};
// The job-log action of a change from the row's state ("" when the state
// has no manual change).
QString statusAction(const QString& replyTy, const StatusChange& c);
Result changeStatus(const Round& r, const Row& row, const StatusChange& c);

} // namespace RowEdit
