#pragma once
#include "shared/InputCheck.h"

#include <QList>
#include <QString>

#include <optional>

// The fee items (C_ITEM): what the fee-item dialog saves and deletes. Every
// item has two codes: ItemCd, unique over all groups (the key; exemptions
// refer to it), and ItemID, unique within its group (rounds keep it).
struct ItemRow {
    QString itemCd;
    QString itemId;
    QString name;
    QString kwan;
    QString hang;
    qint64 amount = 0;
    QString eduType; // "1" counts for the certificate of education expenses
    QString gcode;
};

// The inputs of the dialog when "저장" is pressed.
struct ItemInput {
    QString itemCd = QStringLiteral("00"); // the item being edited; "00" for a new one
    QString shownItemId;                   // ItemID of the row last clicked, empty when none
    QString itemId;                        // as typed
    QString name;
    QString amount; // as typed: separators allowed
    QString kwan;
    QString hang;
    QString gcode; // group of the item
    bool eduTarget = false;
};

namespace ItemStore {

enum Field { FieldItemId = 1, FieldName, FieldAmount, FieldKwan, FieldHang, FieldGroup };

inline const QString kMenuName = QStringLiteral("항목등록");
// ItemCd of the row kept in C_ITEM since its first item; never an item.
inline const QString kPlaceholder = QStringLiteral("00");

// Items of one group by ItemID.
QList<ItemRow> rowsOfGroup(const QString& gcode);
std::optional<ItemRow> find(const QString& itemCd);

// The ItemID proposed for a new item of the group: one more than its highest,
// 01 when it has none, the first free one when 99 is taken; empty when every
// code of 01 to 99 is used.
QString nextItemId(const QString& gcode);
// The ItemCd a new item gets, by the same rule over the whole table.
QString nextItemCd();

// One typed digit becomes two ("5" -> "05"); anything else stays.
QString normalizeItemId(const QString& text);
// Whole won from the typed amount ("32,000" -> 32000); false when it is not
// a number.
bool parseAmount(const QString& text, qint64* amount);

struct SaveResult {
    Refusal refusal;
    bool saved = false;
    bool inserted = false;
    QString itemCd;
    // An edit that changed the amount: the caller offers to carry it into
    // the whole exemptions of the item (carryAmount).
    bool amountChanged = false;
    qint64 oldAmount = 0;
    qint64 newAmount = 0;
    QString logPrefix;
};

// Checks everything first, then edits or inserts the item and logs each
// change, in one transaction.
SaveResult save(const ItemInput& in);

// Every exemption of the item that exempts exactly the old amount gets the
// new one; logged when any changed. Number of rows changed, -1 on failure.
int carryAmount(const QString& itemCd, qint64 oldAmount, qint64 newAmount, const QString& logPrefix);

// Deletes the item and logs it. The placeholder row is never deleted. False
// when nothing was deleted.
bool remove(const QString& itemCd, const QString& shownItemId);

} // namespace ItemStore
