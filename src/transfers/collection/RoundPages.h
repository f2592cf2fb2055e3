#pragma once
#include "transfers/collection/RoundBuilder.h"

#include <QString>
#include <QStringList>

class QCheckBox;
class QListWidget;
class QPushButton;
class QWidget;

// What the collection window hands its round dialogs: the item group line
// of its group combo, its shown round and its bank choice.
struct RoundDialogValues {
    QString groupLine; // "<G_CODE>.<G_NAME>"
    QString yearMon;
    QString seqNo;
    Rounds::BankChoice bank;
};

// The two selection pages that the creation and the add-rows dialogs share:
// grades times items ("학년별") and student groups with one item each
// ("그룹별").
class RoundSelectionPages {
public:
    // Builds the pages and fills them for the item group (the item lists of
    // TDMData are pointed at that group).
    void build(const QString& gcode);

    QWidget* TSNo = nullptr;
    QWidget* TSGrp = nullptr;
    QListWidget* CLbSCd = nullptr;
    QCheckBox* chkGrade = nullptr;
    QListWidget* CLbItem = nullptr;
    QStringList CboItemT; // ItemID of each CLbItem line
    QListWidget* LbGrp = nullptr;
    QListWidget* LbItem = nullptr;
    QListWidget* LbGrpSelect = nullptr;
    QPushButton* BBtnGrpAdd = nullptr;
    QPushButton* BBtnGrpDel = nullptr;

    QStringList checkedGrades() const;
    QStringList checkedItemIds() const;
    QStringList checkedItemLines() const;
    QList<GroupItem> chosenGroups() const;

    // Page handlers.
    void chkGradeClick();
    void BBtnGrpAddClick();
    void BBtnGrpDelClick();
};

// Text edits of the round dialogs take no more CP949 bytes than the column
// holds, and nothing CP949 cannot hold.
void limitCp949(class QLineEdit* edit, int bytes);
