#pragma once
#include "transfers/common/BatFile.h"
#include "transfers/distribution/DistribRound.h"

#include <QDate>

// "파일작성" of the distribution window on plain values: the bank and mark
// checks, the weekend refusal, the file, the rows left out because they were
// paid already, the booking in M_SRFILE ("S") and its job-log line.
namespace DistribRequest {

// The school's distribution accounts at the bank, as master-account lines.
QStringList accountLines(const QString& bankCd);

// Every row of the round in key order, as the writer takes it.
QList<DistribRow> roundRows(const DistribRound::Target& t);

// The checks before the dates dialog: bank 20 or 21, at least one marked
// row; each refusal shows its box.
bool check(const QString& bankText, bool anyMarked);

// The marked rows the bank's file cannot carry, one line each: a row of
// another bank (banks 10, 11 and 12 are one, as the window lists them) or a
// row without an account number (a cash student). Empty when all can go.
QStringList rowsNotForBank(const QString& bankCd, const QList<DistribRow>& rows);

struct Run {
    DistribRound::Target round;
    QString bankText; // the bank entry ("21.신한은행")
    QDate start, end;
    QString acctLine; // the chosen master-account line
    QList<DistribRow> marked;
};
struct Result {
    bool ok = false;
    QString fileName;
    int count = 0;
    QStringList leftOut;
};
// Shows the boxes of each step; ok only when the file is written and booked.
// A marked row that rowsNotForBank names refuses the whole file.
Result write(const Run& r);

} // namespace DistribRequest
