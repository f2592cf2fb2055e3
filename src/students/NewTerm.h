#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// New-term class assignment (신학기반편성) on the work table V_TEMP: every
// student's old grade, class and number beside the new ones being typed.
// The roster is untouched until the final apply, which writes every new
// number in one transaction.

struct NewTermRow {
    qint64 idx = 0; // v_idxs
    QString custNo, sNo, sCd, ban, bun, nm;
    QString newGrade, newBan, newBun; // v_a01v, v_a02v, v_a03v
    // The new student number as typed: grade + class + number.
    QString key() const { return newGrade + newBan + newBun; }
};

namespace NewTerm {

inline constexpr const char16_t* kCaption = u"학반번호 일괄변경";

bool VTempExists();
bool CreateVTemp();

struct FillResult {
    bool ok = false;
    int students = 0; // rows of the roster
    int added = 0;
    int removed = 0;
    QString error;
};
// Tops the work table up from the roster: transferred-out students (with an
// OutDate) leave it, students not yet in it are added with the next grade;
// rows already there keep what was typed. One transaction.
FillResult FillVTemp(const std::function<void(int done, int total)>& progress = {});

// The new grade of "one grade up": empty when the old grade is no number.
QString gradeUp(const QString& oldGrade);

// The rows whose old number lies in the range (bounds as MakeSNo builds
// them: full length, grade + class, grade, or empty), by old number.
QList<NewTermRow> rows(const QString& from, const QString& to, bool* ok = nullptr);
// Empties the new grade, class and number of the rows in the range.
bool reset(const QString& from, const QString& to, QString* error = nullptr);
// Stores the new values of the rows (by v_idxs) with one job-log row.
bool save(const QList<NewTermRow>& rows, QString* error = nullptr);

// Bulk changes of rows in hand.
void setGrades(QList<NewTermRow>& rows, bool promote);
void setClass(QList<NewTermRow>& rows, const QString& ban);
void keepOldClassAndNumber(QList<NewTermRow>& rows);
// The class dialog's entry: "" and *error when refused, else two digits.
QString classEntry(const QString& text, QString* error);

// The second row (index) whose key equals rows[i]'s among all rows, or -1.
int duplicateOf(const QList<NewTermRow>& rows, const QString& key);
QString duplicateText(const NewTermRow& r);

// The error check: pads the rows' new values and returns the report lines.
QStringList check(QList<NewTermRow>& rows);
// The preview: rows sorted by new student number (blank first).
QList<NewTermRow> preview(const QList<NewTermRow>& rows);

struct ApplyOptions {
    QString graduate1, graduate2; // grades deleted as graduates; empty: none
    bool deleteTransferred = true;
};
struct ApplyResult {
    enum class Outcome { Done, Incomplete, Duplicate, Refused, Failed };
    Outcome outcome = Outcome::Failed;
    QStringList lines; // incomplete, duplicate or refused rows (with the reason)
    int updated = 0;
    QString error;
};
// The final apply over the whole work table: every row (graduates aside)
// complete, its new number within the roster's rules and no new number
// twice, else nothing changes; then the
// deletions, the new numbers, the emptied work table and the job-log row in
// one transaction.
ApplyResult apply(const ApplyOptions& o, const std::function<void(int done, int total)>& progress = {});

// Writes report lines (CP949, CR LF) to a file of the data root, whole:
// "신학기반편성오류.txt" for the check, "반편성오류.TXT" for the apply.
bool writeList(const QString& fileName, const QStringList& lines, QString* path = nullptr);

} // namespace NewTerm
