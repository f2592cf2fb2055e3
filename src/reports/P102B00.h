#pragma once
#include "reports/ReportSelection.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "수납부": chooses the fiscal year, grades, items and student range,
// rebuilds the receipt ledger's table and prints it.
class TFrmP102B00 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmP102B00(QWidget* parent = nullptr);

    QComboBox *cboYear = nullptr, *cboGroup = nullptr;
    // Each item entry carries its C_ITEM.ItemCd as its data.
    QListWidget *LBStudtNo = nullptr, *LBSelectStudtNo = nullptr, *LBItemCd = nullptr,
                *LBSelectItemCd = nullptr;
    QPushButton *SpdAllAddStudt = nullptr, *SpdAddStudt = nullptr, *SpdDelStudt = nullptr,
                *SpdAllDelStudt = nullptr;
    QPushButton *SpdAllAddItem = nullptr, *SpdAddItem = nullptr, *SpdDelItem = nullptr,
                *SpdAllDelItem = nullptr;
    QLineEdit *SHakFromEdit = nullptr, *SBanFromEdit = nullptr, *SBunFromEdit = nullptr;
    QLineEdit *SHakToEdit = nullptr, *SBanToEdit = nullptr, *SBunToEdit = nullptr;
    QPushButton *BtnCreate = nullptr, *BtnPrint = nullptr, *BtnClose = nullptr;
    QLabel* PnlDispWait = nullptr;

    ReportSelection selection() const;
    void cboGroupChange();
    // Moves every entry (all) or the selected ones from one list to the other.
    void move(QListWidget* from, QListWidget* to, bool all);
    void BtnCreateClick();
    void BtnPrintClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void updateCreate();
};
