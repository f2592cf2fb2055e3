#pragma once
#include "basic/BasicDialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// 항목등록: the fee items of each item group. States: locked (after
// loading and saving), editing a clicked item, new item (eItemID "00").
class TFrmF104B00 : public BasicDialog {
    Q_OBJECT
public:
    explicit TFrmF104B00(QWidget* parent = nullptr);

    // Grid columns; the last five are hidden.
    enum Col { ColId, ColName, ColAmt, ColGroup, ColKwan, ColHang, ColMok, ColEduType, ColItemCd, ColCount };

    QComboBox* cboGroup;     // the group whose items are listed
    QComboBox* cboItemGroup; // the group of the item being edited
    QLineEdit* EdtItemCd;    // the item's ItemID
    QLineEdit* EdtItemNm;
    QLineEdit* EdtItemAmt;
    QLineEdit* edtKwan;
    QLineEdit* edtHang;
    QLineEdit* edtMok; // shown, never stored
    QLabel* lblEdu;
    QRadioButton* RdoBtn1; // 대상
    QRadioButton* RdoBtn2; // 비대상
    QLineEdit* eItemID;    // hidden: ItemCd of the clicked item, "00" for a new one
    QTableWidget* SGrdItem;
    QPushButton* BBtnAdd;
    QPushButton* BBtnUpdt;
    QPushButton* BBtnDel;
    QPushButton* BBtnClose;
    QPushButton* bt_gedit;

    void done(int r) override;

public slots:
    void FormCreate();
    void SGrdItemClick(int row);
    void cboGroupChange();
    void cboItemGroupChange();
    void EdtItemCdExit();
    void EdtItemNmChange(const QString& text);
    void BBtnAddClick();
    void BBtnUpdtClick();
    void BBtnDelClick();
    void BBtnCloseClick();
    void bt_geditClick();

private:
    void LoadGrid();
    void ClearInputs();
    void SetLocked(bool locked);
    void FillGroups();
    QString cell(int row, int col) const;
    QString shownItemId_; // ItemID of the row last clicked
};
