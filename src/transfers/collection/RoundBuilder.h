#pragma once
#include "transfers/common/Rounds.h"

#include <QList>
#include <QString>
#include <QStringList>

// Creation of collection rounds and the maintenance of existing ones. Every
// action takes plain values (the collection window gathers them from its
// controls) and runs in one transaction: it happens whole or not at all.

// The round to create or work on.
struct RoundTarget {
    QString groupLine; // the item group as the collection window shows it: "<G_CODE>.<G_NAME>"
    QString yearMon;   // yyyymm
    QString seqNo;     // two-digit round
    QString gcode() const { return groupLine.left(2); }
    QString table() const { return Rounds::tableName(yearMon, seqNo); }
};

// Students of grades times items, of the banks of the bank choice.
struct GradeSelection {
    QStringList grades;    // grade codes (SCd)
    QStringList itemIds;   // C_ITEM.ItemID of the item group
    QStringList itemLines; // the ticked lines "<ItemID>.<ItemNm>", for the job log
    Rounds::BankChoice bank;
};

// Members of a student group with one item.
struct GroupItem {
    QString grpNm;
    QString itemId;
    QString itemLine; // "<ItemID>.<ItemNm>"
    QString line() const { return Rounds::groupItemLine(grpNm, itemLine.isEmpty() ? itemId : itemLine); }
};

struct RoundResult {
    enum class Status {
        Done,
        Exists,        // the new round's table is there already
        Missing,       // the round to work on does not exist
        BadRound,      // year-month or round malformed
        NoSelection,   // no grade, item or group chosen
        NoSource,      // merge or copy without a round chosen
        BankMismatch,  // merge of rounds of different banks
        GroupMismatch, // merge of rounds of different item groups
        Failed,        // a database error; nothing changed
    };
    Status status = Status::Done;
    QString error;
    int rows = 0;         // rows written, merged or deleted
    QStringList skipped;  // students left out because another has their student number
    bool dropped = false; // the emptied round table was dropped
    bool ok() const { return status == Status::Done; }
};

namespace RoundBuilder {

// New rounds. A round that exists is never touched.
RoundResult createByGrade(const RoundTarget& t, const GradeSelection& s, const QString& title = {});
RoundResult createByGroup(const RoundTarget& t, const QList<GroupItem>& groups, const QString& title = {});
// Unprocessed rows of older rounds (tables in the user's order) moved into
// the new round; amounts of one student and item are summed.
RoundResult createMerged(const RoundTarget& t, const QStringList& sources, const QString& title = {});
// A copy of an older round with its state fields reset.
RoundResult createCopy(const RoundTarget& t, const QString& source, const QString& title = {});

// Missing rows added to an existing round; rows it has stay as they are.
RoundResult addByGrade(const RoundTarget& t, const GradeSelection& s);
RoundResult addByGroup(const RoundTarget& t, const QList<GroupItem>& groups);

// Deletion of rows of an existing round; an emptied round table is dropped.
RoundResult deleteByGrade(const RoundTarget& t, const QStringList& grades, const QStringList& itemIds,
                          const QStringList& itemLines);
RoundResult deleteByGroup(const RoundTarget& t, const QList<GroupItem>& groups);

// Round tables of other months than today's whose rows are all unprocessed
// and that have no booked request file, among the tables given (those
// present before a creation).
QStringList unusedRounds(const QStringList& tables);
// Drops the tables that are still unused, logging each (a used or booked
// one as failed); returns the number dropped.
int dropRounds(const QStringList& tables);

} // namespace RoundBuilder

// The boxes of a refused or failed action as the round dialogs show them,
// and the report of students left out; nothing for a plain success.
namespace RoundMessages {
enum class Action {
    CreateByGrade,
    CreateByGroup,
    Merge,
    Copy,
    AddByGrade,
    AddByGroup,
    DeleteByGrade,
    DeleteByGroup
};
// The box of a malformed round, also shown when a month has used round 99.
void badRound();
void show(Action a, const RoundResult& r);
} // namespace RoundMessages
