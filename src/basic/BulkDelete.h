#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The tools' bulk deletions: every student of one grade with his exemptions
// and group memberships, and whole round tables with their titles. Each run
// is one transaction with its job-log rows: all of it or nothing.
namespace BulkDelete {

// ---- students of one grade (학생일괄삭제)

// Payer numbers of the grade's students, in order.
QStringList gradeStudents(const QString& grade);

// step 1 exemptions, 2 group rows, 3 the students; done of total within it.
using StepProgress = std::function<void(int step, int done, int total)>;

struct GradeResult {
    bool ok = false;
    int students = 0;
    QString error;
};
GradeResult deleteGrade(const QString& grade, const StepProgress& progress = {});

// ---- round tables (이체자료삭제)

struct RoundRow {
    QString yearMon; // "yyyy-mm"
    QString seqNo;   // "ss"
    QString name;    // the table
};
// The collection, distribution and registration round tables, by name.
QList<RoundRow> roundTables();

struct RoundsResult {
    bool ok = false;
    QStringList dropped; // in the order given
    QString error;
};
// Drops the named round tables (each must be one of roundTables()) and the
// titles of the collection rounds among them.
RoundsResult dropRounds(const QStringList& names);

} // namespace BulkDelete
