#pragma once
#include <QString>
#include <QStringList>

#include <optional>

// The meal-certification workbooks of collection rounds: the paid charges
// of the items chosen in D_ITEM, one workbook per round, H<yyyymm><ss>.xlsx
// in the meal folder (UxHxls). "급식인증 자료 수동 전송" (TFrmM401B00)
// marks the rounds and runs this.
namespace MealExport {

struct Kinds {
    bool autoPaid = true; // ReplyTy "1"
    bool cash = true;     // ReplyTy "2"
};

// The workbook's name for a round table: H + yyyymm + round + ".xlsx".
QString fileName(const QString& table);

// Rows of the round that count: paid as the kinds say, of an item in
// D_ITEM. Round rows keep the item's ItemID within their group, D_ITEM the
// item's ItemCd: the two meet through C_ITEM by the row's group.
int countRows(const QString& table, const Kinds& k, qint64* amount = nullptr);

// Rows of the round paid as the kinds say, of any item.
int countPaid(const QString& table, const Kinds& k);

// The collection rounds of a year-month range ("yyyy-mm" or yyyymm, both
// ends included), in name order; nullopt when an end is not six digits or
// the start lies after the end.
std::optional<QStringList> roundsInRange(const QString& from, const QString& to);

// Writes the round's workbook into the folder (created when missing).
// Returns the rows written; 0 writes no file. -1 on failure (*error).
int writeRound(const QString& table, const Kinds& k, const QString& folder, QString* file = nullptr,
               QString* error = nullptr);

} // namespace MealExport
