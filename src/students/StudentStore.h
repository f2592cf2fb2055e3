#pragma once
#include "platform/ui/Msg.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The roster's record rules: payer numbers, the validation and save of a new
// or changed student, the carrying of a change into the round tables, and
// the delete. It takes the entry fields as values and answers which field
// failed and what to show; the window shows the boxes and moves the focus.

// The entry fields as the user left them.
struct StudentEntry {
    QString custNo;     // EdtCustNo: empty for a new student
    QString gradeCode;  // CbMNo1 at CbMNo's index
    QString classNo;    // MEdtSNo without its dash: class + number
    QString name;       // EdtNm
    QString sexText;    // CbSex, "1.남자"
    QString bankText;   // CBBank, "04.국민은행"
    QString acctNo;     // EdtAcctNo
    QString owr;        // EdtOwr
    QString juNo;       // MEdtJu_No
    QString juNoStud;   // MEdtJu_No_stud
    QString inDate;     // MedtInDate, yyyymmdd
    QString outDate;    // MedtOutDate, yyyymmdd
    QString mTelNo;     // EdtMtelNo
    QString smsText;    // CBsmsYN, "1.수신"
    QString bigo;       // eBigo
    QString bigoLoaded; // eBitoTmp: the remark as it was loaded
};

// One student as listed: the image the grid keeps of a row, and the before
// image a change is compared with.
struct StudentRow {
    QString custNo, sCd, sNo, nm, sex, bankCd, acctNo, owr, useTy, inDate, outDate, juNo, acctRegYn1,
        acctRegYn2, mTelNo, smsYN, juNoStud;
};
// Only strings: a list of rows grows by moving its memory.
Q_DECLARE_TYPEINFO(StudentRow, Q_RELOCATABLE_TYPE);

// The entry controls a failed check sends the focus back to.
enum class StudentField {
    None,
    CbMNo,
    MEdtSNo,
    EdtNm,
    CbSex,
    CBBank,
    EdtAcctNo,
    EdtMtelNo,
    MEdtJu_No,
    MedtInDate,
    MedtOutDate,
    CBsmsYN
};

struct StoreBox {
    QString caption;
    QString text;
    MsgIcon icon = MsgIcon::None;
    bool defaultNo = false;
};

struct StoreResult {
    bool stored = false;   // the change was committed
    bool reload = false;   // the window lists again
    QList<StoreBox> boxes; // to show, in order
    StudentField focus = StudentField::None;
    QString custNo; // the student saved
};

// What a save or delete asks of its user along the way.
struct StudentStoreHooks {
    // A Yes/No question; true for Yes. Default: a message box.
    std::function<bool(const StoreBox&)> ask;
    // The round picker: the chosen entries ("[집금]200703 / 01") in order, or
    // nothing when it was cancelled. Default: cancelled.
    std::function<std::optional<QStringList>()> pickRounds;
};

namespace StudentStore {

inline constexpr const char16_t* kMenuName = u"학생명부";

// Caption of plain message boxes: the program's title.
QString plainCaption();

// The next payer number: days since 2002-01-01 (five digits) and the next
// sequence of that day. Numbers of deleted and purged students are never
// given again.
QString sNewCustNo();
// Held over a run of many new students (an import): the day's numbers in
// the roster and the purge archive are asked once for the run, not once per
// student. Each number is still taken inside its row's write, over the
// day's record in M_CUSTSEQ, so two copies of the program never give one
// number twice.
class CustNoRun {
public:
    CustNoRun();
    ~CustNoRun();
    CustNoRun(const CustNoRun&) = delete;
    CustNoRun& operator=(const CustNoRun&) = delete;
};
// Records a payer number as given, so that it is not given again after the
// student is deleted.
bool rememberCustNo(const QString& custNo);

// The roster's rule for what a student's columns may hold, asked by every
// path that writes M_CUST: no control characters, nothing CP949 cannot
// hold and, with widths, nothing over its column's byte width (trailing
// blanks aside, as they are not stored); a date (InDate, OutDate) is a day
// of the calendar as yyyymmdd, or blank. With codes: the sex (Sex) and the
// SMS consent (smsYN) are "1", "2" or blank, and a consent "1" needs a
// mobile number (when both smsYN and MTelNo are among the values). Values
// by M_CUST column name. Empty when they may be stored; otherwise the
// refusal naming the field, and *column the column refused.
QString rosterProblem(const QList<std::pair<QString, QString>>& values, bool widths = true,
                      QString* column = nullptr, bool codes = true);

// The entry box's refusals of a sex or an SMS consent the boxes do not
// offer, and of a consent without a mobile number (its window text,
// caption "휴대폰번호입력오류").
QString sexMessage();
QString smsMessage();
QString noMobileMessage();

// The student with that payer number, if any.
std::optional<StudentRow> find(const QString& custNo);

// A bank code as it comes from outside (a workbook, a grade file): up to
// two characters it stays as it is; today's three-digit form "0NN" of a
// bank of the list (C_BANK) reads as "NN". Any other longer code is
// refused: nothing, and *problem says why.
std::optional<QString> outsideBankCode(const QString& code, QString* problem = nullptr);

// The code part of a combo text "04.국민은행": its first two characters.
QString codeOf(const QString& comboText);

// rosterProblem over a typed entry's columns, without the widths: the
// workbooks give over-wide values their own wording first.
QString fieldProblem(const StudentEntry& e);

// Saves a new student (empty custNo) or a change of the student whose
// listed image is `before`.
StoreResult save(const StudentEntry& e, const StudentRow& before, const StudentStoreHooks& hooks = {});

// Deletes the student and his rows of every collection and distribution
// round (after the question). gridSNo and gridName name him in the log.
StoreResult remove(const QString& custNo, const QString& gridSNo, const QString& gridName,
                   const StudentStoreHooks& hooks = {});

// Student-number change check and duplicate-account warning; boxes go to
// *box, questions to hooks.ask.
bool bSNoFree(const QString& sNo, StoreBox* box);
bool bAcctNoConfirm(const QString& acctNo, const StudentStoreHooks& hooks);

// Round tables a change may be carried into, as the picker lists them:
// distribution rounds first, each kind newest first.
QStringList roundEntries();
QString roundEntry(const QString& table);
// The table an entry names; empty when the entry is not one.
QString roundTable(const QString& entry);

// The remark of a student (C_Bigo).
QString remark(const QString& custNo);

} // namespace StudentStore
