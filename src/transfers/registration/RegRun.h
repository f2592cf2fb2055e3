#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// Account registration on plain values: building a run (H_R00_ + yyyymm +
// run) from the payers not yet registered with a bank, listing it, writing
// and booking its request file, and applying the banks' result files. Each
// step shows its own boxes (plain boxes: the program's title, OK, no icon).
namespace ResultEngine {
struct Layout;
}

namespace RegRun {

// "H_R00_" + yyyymm + ss.
QString tableName(const QString& yearMon, const QString& seqNo);
bool exists(const QString& yearMon, const QString& seqNo);
// Run tables of the data folder, in name order.
QStringList runTables();
// The next run of a month: "01" first, then the highest run of the month + 1.
QString nextSeq(const QString& yearMon);

// The banks offered: "00.모든은행", then code + "." + name of every bank the
// school holds an account at.
QStringList bankTexts();

struct Created {
    bool ok = false;
    QString yearMon, seqNo, repFacCd;
    int rows = 0;
};
// "자료생성" for a bank code: every payer of the bank (banks 11 and 12: the
// whole 10/11/12 family) whose registration state is neither "Y" nor "W"
// (a blank state counts as not registered), in payer-number order, into a
// new run of this month; table and rows in one transaction.
Created create(const QString& bankCd, const QString& bankText);

enum class Filter { All, Failed, Registered };

struct Row {
    QString SNo, Nm, Sex, RegBankCd, BankCd, RepFacCd, AcctNo, NapbuNo, SocId, ReqDt, Result, ErrCd;
};
struct Listing {
    bool exists = false;
    QList<Row> rows;
    qint64 total = 0, registered = 0, failed = 0;
};
// The run's rows that have a student, by student number.
Listing list(const QString& yearMon, const QString& seqNo, Filter filter = Filter::All);

// Grid texts of a row.
QString sexText(const QString& sex);
QString resultText(const QString& result);
QString reasonText(const QString& errCd);

struct Written {
    bool ok = false;
    QString fileName;
    int count = 0;
};
// "파일작성": refuses a missing run, a weekend day and an empty listing;
// writes the request file with the registration bank and institution code
// of the listing's first row and books it ("G") together with its placing
// in send.
Written writeRequest(const QString& yearMon, const QString& seqNo, const Listing& shown);

struct Applied {
    enum class Status { Applied, Refused };
    Status status = Status::Refused;
    QString yearMon, seqNo; // the run the file belongs to
    QString archiveName;    // its name in rback
    int requests = 0, registered = 0;
};
// Applies one result file. The whole file is checked first (header, record
// width, trailer counts, the run, not applied before, every record matching
// exactly one run row); a refused file stays where it is and nothing
// changes. Then the run rows, the students' registration states, the file's
// fingerprint and its move to rback (never over an older archive) are
// committed together.
Applied applyFile(const QString& path);

// What the whole-file check reads of a registration result.
const ResultEngine::Layout& resultLayout();

// Registration result files ("*.R*", any case) waiting in recv, in name order.
QStringList resultFiles();
// "파일풀기": applies every waiting file in list order; the last run applied.
QList<Applied> applyAll();

} // namespace RegRun
