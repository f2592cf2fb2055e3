#pragma once
#include <QList>
#include <QString>

// The meal-certification settings (registry SchoolInfo: UxAutS, UxHxls) and
// the chosen fee items of D_ITEM, which the meal-certification export reads.
namespace MealItems {

struct Settings {
    bool use = false; // UxAutS 1: "집금이체 파일풀기 후"
    QString folder;   // UxHxls
};

// The folder used when none is set: the data root's hxls folder.
QString defaultFolder();
// Reads the settings; when either value cannot be read, the defaults (off,
// default folder) are written back at once and returned.
Settings read();
bool write(const Settings& s);

struct Item {
    QString code; // C_ITEM.ItemCd
    QString name;
    QString kind; // one letter, or empty
};

// Creates D_ITEM when it cannot be read.
bool ensureTable(QString* error = nullptr);
// D_ITEM in code order.
QList<Item> chosen();
// The fee items of C_ITEM whose code is not among the chosen, in code order.
QList<Item> available(const QList<Item>& chosen);
// Replaces D_ITEM by the rows (trimmed) in one transaction. A row without a
// code is not stored; values go in bound, so any name is stored as typed.
bool save(const QList<Item>& rows, QString* error = nullptr);
// What the kind column keeps of typed text: its first character, upper-cased.
QString kindLetter(const QString& typed);

} // namespace MealItems
