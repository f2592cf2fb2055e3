#pragma once
#include "students/StudentStore.h"

#include <QString>
#include <QStringList>

// The roster's workbooks: "불러오기" adds the students of a sheet,
// "원본내려받기" writes the batch-change workbook and "일괄변경" reads it
// back into the students' resident numbers. Each takes the chosen path; the
// window only picks it and shows the boxes.

struct SheetRun {
    bool ran = false;      // the file was read and the rows gone through
    int stored = 0;        // rows stored
    QStringList rejected;  // the error list's lines, in row order
    QList<StoreBox> boxes; // to show, in order
};

namespace StudentSheets {

// Error lists under the data root.
QString importErrorFile();      // Temp/Error_Student.txt
QString batchChangeErrorFile(); // Temp/Error_TTmod.txt

// Adds the students of the file's first sheet (row 1 is the header), each
// row whole in its own transaction; rejected rows go to the error list with
// their reason. A database error stops the run and keeps the rows stored.
SheetRun importStudents(const QString& path);

// Writes every student's payer number, number, name and student's resident
// number. False (with the boxes) when nothing was written; no student
// writes nothing and shows nothing.
SheetRun writeBatchWorkbook(const QString& path);

// Stores column D of each row as the resident number of the student whose
// payer number is in column A; the rows are checked first and applied in one
// transaction.
SheetRun batchChange(const QString& path);

} // namespace StudentSheets
