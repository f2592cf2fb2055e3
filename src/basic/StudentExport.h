#pragma once
#include <QString>

class QWidget;

// The tools menu's student exports: "학생->텍스트파일" (MnuT201B00) writes
// one fixed-width line per student, "학생->엑셀파일" (MnuT202B00) a
// workbook of 17 columns. Both take the students in number order.
namespace StudentExport {

struct Result {
    bool written = false; // the file is in place
    int rows = 0;         // students written
    QString error;        // why it was not written (empty for "no student")
};

// One line of the text file (without its CR LF), from a student's columns
// in M_CUST order and his remark.
struct Student {
    QString custNo, sNo, nm, bankCd, acctNo, owr, sCd, sex, useTy, inDate, outDate, juNo, mTelNo, smsYN,
        juNoStud, bigo;
};
QString textLine(const Student& s);

Result writeText(const QString& path);
Result writeWorkbook(const QString& path);

// The menu items: save dialog, export, box. Cancel returns nothing written.
Result MnuT201B00Click(QWidget* parent);
Result MnuT202B00Click(QWidget* parent);

} // namespace StudentExport
