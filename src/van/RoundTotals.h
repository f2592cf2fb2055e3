#pragma once
#include "platform/report/ReportDocument.h"

#include <QList>
#include <QString>
#include <QStringList>

// 학생자료집계: one collection or distribution round summed into counts and
// amounts per state, one line per grade (all grades) or per class (one
// grade), with a grand total and a printed list. It only reads.
namespace RoundTotals {

enum class Kind { Collection, Distribution };

struct Selection {
    Kind kind = Kind::Collection;         // RdoGrpInOut
    QString yearMon, seqNo;               // MEdtYearMon (yyyymm), MEdtSeqNo
    QString grade = QStringLiteral("00"); // cbYearStudt's code, "00" every grade
    QString bank = QStringLiteral("00");  // CbBank's code
    QString item = QStringLiteral("00");  // CbItem's ItemID
    QString date;                         // MEdtSetlDt, yyyymmdd or empty
};

// Counts and amounts, 64-bit, by state.
struct Sums {
    enum { Proc, NonProc, Exempt, Refund, Partial, States };
    qint64 cnt[States] = {};
    qint64 amt[States] = {};
    // The subtotal count leaves the partial refunds out: such a row counts
    // once, as processed.
    qint64 subCnt() const { return cnt[Proc] + cnt[NonProc] + cnt[Exempt] + cnt[Refund]; }
    qint64 subAmt() const;
    void add(const Sums& o);
};

struct Line {
    QString label; // grade code, or the class's two digits + " 반"
    Sums sums;
};

struct Result {
    bool byClass = false;
    QList<Line> lines;
    Sums total;
};

// The round table of a selection; empty when year-month or round is malformed.
QString tableName(const Selection& s);
// The grade entries of cbYearStudt after "00.전학년": SCd + "." + SCdNm.
QStringList gradeEntries();
// The banks CbBank offers for an item group: BankCd + "." + BankNm of every
// bank with an account of the group.
QStringList bankEntries(const QString& gcode);
// The item group of a collection round: its first Gcode.
QString roundGroup(const QString& table);

// The check of 자료조회: the box text when year-month or round is missing.
inline const QString kMissingRound = QStringLiteral("이체년월과 회차는 반드시 입력하세요!!");

// The summing run. grades are the entries of every grade (used when
// s.grade is "00"). False with the database's error (a round table that
// does not exist among them).
bool run(const Selection& s, const QStringList& grades, Result* out, QString* error);

// Grid cells of a line: column 0 as is, counts "%8.0n", amounts "%11.0n".
QStringList cells(const Line& l);
// The twelve grand-total texts ("%.0n").
QStringList totalTexts(const Sums& t);

// The print's condition texts: the combos' texts as shown.
struct PrintCondition {
    QString bank, item, yearMon, grade, seqNo;
};
// TFrmM302P00: the lines and the grand total.
ReportDocument print(const Result& r, const PrintCondition& c);

} // namespace RoundTotals
