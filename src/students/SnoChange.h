#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class SheetTable;
class QWidget;

// Individual grade and number change (개별학년변경): one student at a time,
// or a workbook of payer numbers and new student numbers checked whole and
// applied in one transaction.
namespace SnoChange {

inline constexpr const char16_t* kMenu = u"개별학년변경";

struct Student {
    QString custNo, sNo, nm;
};
// The students of one grade by number.
QList<Student> gradeStudents(const QString& grade);

enum class Outcome { Changed, Empty, Taken, NotFound, Refused, Failed };
// Gives the student the new number (and its first character as grade) and
// the name, with the job-log row. Refused: the roster's rules refuse the
// number or the name; *error says why.
Outcome change(const QString& custNo, const QString& newSNo, const QString& name, QString* error = nullptr);

struct ImportResult {
    bool ok = false;
    int changed = 0;
    QStringList errors; // one line per refused row; nothing was changed
    QString error;      // a database error
};
// Rows from 2: column 1 the payer number, column 2 the new number. Every row
// is checked first (payer known, number well formed and not held by another
// student or row); then every change with its log row in one transaction.
ImportResult importSheet(const SheetTable& sheet);

// The "불러오기" button: file dialog, read, import, boxes (the refused rows
// in the text viewer, the rows stored and refused counted in the closing
// box; a sheet of its header row alone has nothing to import). ok when the
// run went through (changed 0 for nothing to import); not ok when it was
// cancelled, unreadable, refused or failed.
ImportResult importWithDialogs(QWidget* parent);

} // namespace SnoChange
