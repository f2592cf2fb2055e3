#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Shared routines of the collection round tables (H_200_ + yyyymm + round):
// names, listing, titles, the bank choice of the collection window and the
// exemption rule of round rows.
namespace Rounds {

inline const QString kMenuName = QStringLiteral("집금이체");

// "H_200_" + yyyymm + round; empty when ym is not six digits or ss not a
// round "01".."99".
QString tableName(const QString& ym, const QString& ss);
bool isYearMon(const QString& ym);
bool isSeqNo(const QString& ss);
// yyyymm and round of a round table name ("H_200_20260301" -> "202603", "01").
QString yearMonOf(const QString& table);
QString seqNoOf(const QString& table);
// Key line "<yyyymm> / <ss>" of a table name.
QString keyLine(const QString& table);

// Collection round tables, sorted by name.
QStringList collectionTables();
// Round tables matching a file mask such as "H_200_*.db" (several patterns
// separated by ';'; the ".db" ending and case do not matter), sorted by name.
QStringList tablesByMask(const QString& mask);

// The round-table mask of a quarter box entry (0 blank, 1-4 "n / 4 분기"):
// the three months of that quarter of the school year (March to February)
// that contains today; the fourth quarter is December with January and
// February of the next calendar year. 0 gives every collection round.
QString quarterMask(int quarter, const QDate& today);
inline const QStringList kQuarterEntries{QString(), QStringLiteral("1 / 4 분기"), QStringLiteral("2 / 4 분기"),
                                         QStringLiteral("3 / 4 분기"), QStringLiteral("4 / 4 분기")};

// Next round of a month: one above the highest round of that month among the
// tables, "01" without one; empty when round 99 is taken (a month holds at
// most 99 rounds).
QString nextSeqNo(const QStringList& tables, const QString& ym);

// Greatest and lowest item group of a round's rows ("" for none).
QString greatestGcode(const QString& table);

// Bank choice of the collection window: its combo holds "00.모든은행",
// "99.은행없음", then each bank with a collection account of the item group.
// code is the chosen line's code; offered the codes of the lines from index
// 1 on ("99" first).
struct BankChoice {
    QString code = QStringLiteral("00");
    QStringList offered;
};
// Banks 10, 11 and 12 are one bank family in every selection.
bool isBankFamily(const QString& code);
// The student bank codes the choice takes.
QStringList bankCodes(const BankChoice& choice);
// Codes of the banks with a collection account of the item group, in bank
// order, after "99": what the collection window offers.
QStringList offeredBanks(const QString& gcode);

// A round row's exemption: an M_EXEMP row (found) with its Free and Itemval
// against the item's amount. normalise tells the M_EXEMP row is rewritten
// with newFree / newItemval (a row saved with a blank Free gets its kind).
struct Exemption {
    QString exempTy = QStringLiteral("1");
    qint64 amt = 0;
    bool normalise = false;
    QString newFree;
    qint64 newItemval = 0;
};
Exemption exemption(bool found, const QString& free, qint64 itemval, qint64 itemAmt);

// Line of a chosen student group and item: the group padded to 10 bytes,
// " = ", the item line "<ItemID>.<ItemNm>".
QString groupItemLine(const QString& grpNm, const QString& itemLine);

// Round titles in M_TITLE; a round may have several rows, the first counts.
bool ensureTitleTable();
QString title(const QString& ym, const QString& ss);
bool saveTitle(const QString& ym, const QString& ss, const QString& title);
// "<yyyy>/<mm>  <ss>회차  <title>"; empty for a malformed key.
QString roundCaption(const QString& ym, const QString& ss);

// A collection request file of the round table's month and round is booked
// ("S" in M_SRFILE; distribution files, types 3xx, are not the round's).
bool requestBooked(const QString& table);

// Rounds offered for merging and copying into a new round of the item group,
// newest first: not waiting for a result file, greatest item group gc.
QStringList mergeCandidates(const QString& gcode);

// The round selector's lines: the tables of the mask, newest first, only
// those whose greatest item group is gcode when it is not blank. key is
// "<yyyymm> / <ss>"; display adds "  /  " and the title for collection
// rounds.
struct RoundLine {
    QString table;
    QString key;
    QString display;
};
QList<RoundLine> selectorRounds(const QString& mask, const QString& gcode);

// Names of the student groups (C_GRP), in name order.
QStringList studentGroups();

// Caption of the plain boxes (the program's title).
QString programTitle();
void plainBox(const QString& text);

} // namespace Rounds
