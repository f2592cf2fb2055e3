#pragma once
#include "shared/InputCheck.h"

#include <QList>
#include <QString>

// The item groups (G_GROUP): what the item-group dialog saves and deletes.
struct GroupRow {
    QString code; // G_CODE, two digits
    QString name; // G_NAME, required
    QString memo; // G_MEMO
};

namespace GroupStore {

enum Field { FieldCode = 1, FieldName, FieldMemo };

// Every group in code order.
QList<GroupRow> rows();

// The code a new group gets: one more than the highest code as two digits,
// or, when that is past 99, the first free code from 01. Empty when all of
// 01 to 99 are taken.
QString nextCode();

// "code.name" of the group, as the group combos show it; empty when the
// group does not exist.
QString displayText(const QString& code);

struct SaveResult {
    Refusal refusal;
    bool saved = false;
    bool inserted = false;
};

// Changes name and memo of the group of that code, or inserts a new group;
// logs it. shownName is the name of the row the user clicked (the change
// log names it).
SaveResult save(const GroupRow& g, const QString& shownName);

// Deletes the group when it exists and logs the deletion under its shown
// name.
bool remove(const QString& code, const QString& shownName);

} // namespace GroupStore
