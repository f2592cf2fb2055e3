#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// "학년,학번 자동변경": the roster split into one file per grade in the down
// folder (Studt1.db .. Studt6.db, each a database with the table Studt of
// the roster's 18 columns), renumbered and edited there, and merged back into
// the roster. The grade files never touch the roster until the merge, which
// changes it in one transaction.
namespace GradeFiles {

// The roster's columns in their order; a row is a list of 18 values.
extern const QStringList kFields;
enum Field { CustNo, SCd, SNo, Nm, Sex, BankCd, AcctNo, Owr, UseTy };
using Row = QStringList;

constexpr int kGrades = 6;

// A grade file holds one grade of a school: more rows, or a row longer
// than any roster row can be, is not ours and is refused before reading.
inline constexpr int kMaxRows = 20000;
inline constexpr int kMaxRowBytes = 4096;
// Another row limit (tests); 0 restores kMaxRows.
void setMaxRows(int n);

QString path(int grade);
bool exists(int grade);

// Makes the six files anew from the roster (students whose number begins
// with the grade digit); each file is written under a temporary name.
bool split(QString* error = nullptr);

// The rows of a grade file, ordered by number and name.
QList<Row> rows(int grade, QString* error = nullptr);
std::optional<Row> findBySNo(int grade, const QString& sNo);

// "자동번호부여": per grade and class (and sex with three-digit numbers, a
// blank sex counting 0) the students in name order get 01, 02, ...
bool autoNumber(int grade, bool threeDigits, QString* error = nullptr);
// "자동학년부여": every number's grade digit one up or down, the grade code
// with it. The rows stay in their file.
bool moveGrade(int grade, bool up, QString* error = nullptr);

// The single-student fields of a save.
struct Entry {
    QString sex, nm, bankCd, acctNo, owr;
};
// "학년변경": the row of that payer number gets the new number, its grade
// code and the fields.
bool change(int grade, const QString& custNo, const QString& newSNo, const Entry& e,
            QString* error = nullptr);
// "학년추가": the row of that number gets the fields; without one a row is
// added whose payer number is taken from the roster's numbering at once, so
// no other student can ever get it. The payer number in *custNo.
bool add(int grade, const QString& sNo, const Entry& e, QString* custNo = nullptr, QString* error = nullptr);
// An edit in place of one cell (the payer number is the key and stays).
bool setCell(int grade, const QString& custNo, int field, const QString& value, QString* error = nullptr);

// The merge, planned before anything changes: every row of the six files
// either updates its roster student (same payer number), becomes a new
// student (added in a grade file), or cannot be merged and is reported.
struct MergePlan {
    QString error;          // a file missing or unreadable: nothing can be merged
    QList<Row> updates;     // roster students, in grade-file order
    QList<Row> additions;   // students added in the grade files
    QStringList refused;    // rows that cannot be merged, with the reason
    QStringList notInFiles; // roster students no grade file holds: left as they are
    QStringList duplicates; // numbers the merged roster would hold twice: nothing can be merged
};
MergePlan plan();
// The box text of a merge refused for numbers held twice.
QString sharedNumbersText(const QStringList& duplicates);

struct MergeResult {
    bool ok = false;
    QString error;
    int updated = 0, added = 0;
    QStringList report;     // refused rows and students left as they were
    QStringList duplicates; // refused: numbers held twice, nothing changed
};
// Applies the plan to the roster in one transaction (with its job-log row);
// the grade files are removed only after the commit.
MergeResult merge(const MergePlan& p);
// The confirmed merge: the manual backup (archive and external copy) first;
// without it nothing is merged (backupFailed). A plan with numbers held
// twice is refused before the backup.
struct BackedMerge : MergeResult {
    bool backupFailed = false;
    QString archive;
};
BackedMerge backupAndMerge(const MergePlan& p);

} // namespace GradeFiles
