#pragma once
#include <QString>

// The meal-certification workbooks of collection rounds: the paid charges
// of the items chosen in D_ITEM, one workbook per round, H<yyyymm><ss>.xlsx
// in the meal folder (UxHxls). The window that marks the rounds is not
// built yet; zq-driver meal export runs this.
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

// Writes the round's workbook into the folder (created when missing).
// Returns the rows written; 0 writes no file. -1 on failure (*error).
int writeRound(const QString& table, const Kinds& k, const QString& folder, QString* file = nullptr,
               QString* error = nullptr);

} // namespace MealExport
