#pragma once
#include "students/SmsFile.h"
#include "students/StudentStore.h"

#include <QList>
#include <QString>
#include <QStringList>

// The roster's listing: the search conditions, the students they select in
// student-number order, the counts, and the grid's 21 cells of a student.

struct RosterFilter {
    QString sNoFrom, sNoTo; // MakeSNo of the bound edits: 0, 1, 3 or full length
    QString acctNo;         // edtacctno2
    QString bankText;       // CBSBank, "00.모든은행"
    int use = 0;            // RGrpUse: 전체, 재학생, 전출생
    int sex = 0;            // RGrpSex: 전체, 남자, 여자
    int regYn = 0;          // RGpRegYn: 전체, 미등록, 미등록(단위)
    int sms = 0;            // RGpSMSYn: 전체, 수신, 거부
};

struct RosterListing {
    QList<StudentRow> rows;
    int enrolled = 0, transferred = 0;
    QString sNoFrom, sNoTo; // the bounds completed to full length
};

namespace RosterList {

inline constexpr int kCells = 21;

// Bounds of 1 (grade) or 3 (grade and class) characters completed to the
// first and last student number they cover.
QString completeLower(const QString& bound);
QString completeUpper(const QString& bound);

RosterListing pListStudents(const RosterFilter& f);
// The listing's statement, with its bound values appended to binds.
QString listSql(const RosterFilter& f, QVariantList& binds);

// Grid cell `col` of a student's row.
QString cell(const StudentRow& s, int col);
QStringList cells(const StudentRow& s);

// "총인원수: 1,234" and the like.
QString countText(const QString& label, int n);

// Banks 10, 11 and 12 are one bank in every selection.
bool isCentralBank(const QString& bankCd);

// What columns 6 and 7 show of a row's account registration.
enum class RegColour { Row, Blue, Red };
struct RegState {
    QString text;
    RegColour colour = RegColour::Row;
};
RegState regState(const StudentRow& s, int col);

// Class and number typed in the masked edit (class in the first two
// positions, blanks where nothing was typed) brought to full form: "1 5 "
// becomes "0105" (SNoLen 5) or "01005" (SNoLen 6).
QString normClassNo(const QString& text, int sNoLen);

// What "문자메세지" hands the composer: the listed students with SMS consent
// and a mobile number, in list order (no item, amount "0", no date).
QList<SmsFile::Recipient> smsRecipients(const QList<StudentRow>& rows);

} // namespace RosterList
