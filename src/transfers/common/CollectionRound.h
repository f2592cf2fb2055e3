#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// What the collection work window looks up and changes besides the listing:
// its bank list, the round shown at opening, the waiting-file test and the
// deletion of one row.
namespace CollectionRound {

// Round tables of the data folder (names without ".db"), sorted by name, so
// the last is the newest year-month and round. masks are GLOB patterns;
// empty means every collection round.
QStringList roundTables(const QStringList& masks = {});

// The GLOB patterns of the quarter box cboBUNGI (0 blank: every round, 1-4
// "n / 4 분기"), from the one quarter mask of the program: the school year
// that contains today.
QStringList quarterMasks(int quarter, const QDate& today);

// True when a round table of that year-month and round is listed (the
// window's prefix search of its file list, case ignored).
bool roundListed(const QStringList& tables, const QString& yearMon, const QString& seqNo);

// "00.모든은행", "99.은행없음", then BankCd + "." + BankNm of every bank at
// which the school has a collection account of the group.
QStringList bankEntries(const QString& gcode);

// The highest round booked for a request file of the year-month (yyyymm)
// and group; "" when none.
QString lastBookedRound(const QString& yearMon, const QString& gcode);

// Year-month and round at opening: those of the newest round table, else the
// current year-month and "01"; the round is then replaced by lastBookedRound.
struct OpeningRound {
    QString yearMon, seqNo;
};
OpeningRound openingRound(const QStringList& tables, const QString& gcode);

// The distinct student-group names (C_GRP).
QStringList studentGroups();

// Items of a group in ItemID order: ItemID and ItemNm.
struct GroupItem {
    QString itemId, itemNm;
};
QList<GroupItem> groupItems(const QString& gcode);

// Smallest and largest ProcDt of the round ("" when none).
struct DateSpan {
    QString first, last;
    bool ok = true;
};
DateSpan procDateSpan(const QString& yearMon, const QString& seqNo);

// The bank-family condition of the request-file book: 10/11 and 12 are two
// families when the school has accounts at both, one family when at one of
// them, and no condition when at neither.
struct BookCond {
    QString sql; // " and bankcd ..." with '?' for the values
    QStringList binds;
};
BookCond bookBankCond(const QString& bankCd);

// Request files of the round and bank family: sent ("S") and received ("R")
// book rows. Waiting: sent and none received; received: both.
struct FileState {
    qint64 sent = 0, received = 0;
    bool waiting() const { return sent > 0 && received == 0; }
    bool receivedBack() const { return sent > 0 && received > 0; }
};
FileState fileState(const QString& yearMon, const QString& seqNo, const QString& bankCd);

// One row leaving the round ("학생삭제"): the row is found by its key and
// deleted together with its job-log line.
struct RowDelete {
    QString yearMon, seqNo;
    QString sno, itemCd;  // the row's key
    QString nm, itemName; // for the log line
    QString groupText;    // the group combo's whole text
};
enum class DeleteResult { Deleted, NotFound, Failed };
DeleteResult deleteRow(const RowDelete& r, QString* error = nullptr);
QString deleteLogLine(const RowDelete& r);

} // namespace CollectionRound
