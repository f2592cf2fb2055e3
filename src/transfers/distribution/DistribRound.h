#pragma once
#include "transfers/common/StudentAdd.h"

#include <QList>
#include <QString>
#include <QStringList>

// Distribution rounds (H_300_ + yyyymm + SS): creation by grade or student
// group, deletion of rows, dropping an emptied round, and the selector's
// lines. Each action takes plain values and runs in one transaction, so a
// failed or empty creation leaves no table behind.
namespace DistribRound {

struct Target {
    QString groupText; // the work window's group entry ("01.기본")
    QString yearMon, seqNo;
    QString gcode() const { return groupText.left(2); }
    QString table() const { return QStringLiteral("H_300_") + yearMon + seqNo; }
};

// One (student group, item) pair of the group page; itemCd is C_ITEM.ItemCd.
struct GroupPair {
    QString grpNm, itemCd, text;
};

struct Outcome {
    enum Kind { Done, Refused, Failed } kind = Failed;
    QString caption, text; // the box of a refusal or failure
    int rows = 0;          // rows added or deleted
    bool dropped = false;  // the round was emptied and dropped
};
// Shows the outcome's box, if it has one.
void show(const Outcome& o);

// The round proposed for a month: its highest round plus one, "01" first.
QString nextSeqNo(const QString& yearMon);
bool exists(const Target& t);

// Adds the missing rows of the enrolled students of the grades for the
// items (ItemCd), then marks the round's exempt rows.
Outcome createByGrade(const Target& t, const QStringList& grades, const QStringList& itemCds,
                      const QStringList& itemLines);
Outcome createByGroup(const Target& t, const QList<GroupPair>& pairs);
// Deletes the chosen rows (by grade: not transferred ones; by group: all),
// dropping the round when it is left empty.
Outcome deleteByGrade(const Target& t, const QStringList& grades, const QStringList& itemCds,
                      const QStringList& itemLines);
Outcome deleteByGroup(const Target& t, const QList<GroupPair>& pairs);

// Adding one enrolled student's items to a round ("학생추가").
struct StudentItems {
    QString sno, nm;
    StudentAdd::Student student; // as the look-up found him
    QStringList itemCds;         // C_ITEM.ItemCd, in list order
    QStringList itemLines;       // the entries shown, parallel to itemCds
};
struct AddOutcome {
    bool ok = false;
    QString error;
    QStringList added;   // item lines appended
    QStringList skipped; // item lines the student had already
};
// ItemCds the student already has in the round.
QStringList studentItems(const Target& t, const QString& sno);
// Appends a row per item the student lacks, at the item's amount (0 for an
// unknown item), each with its job-log line; all or nothing. No exemption
// is applied.
AddOutcome addStudent(const Target& t, const StudentItems& s);

// Selector lines "yyyymm / SS", newest first; blank gcode lists every round.
QStringList selectorLines(const QString& gcode);

} // namespace DistribRound
