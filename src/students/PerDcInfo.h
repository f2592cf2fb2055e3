#pragma once
#include "students/ExempStore.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// "항목별 면제등록 정보": the roster's student's exemptions, one item at a
// time. Reads SelCustNo when it is created.
class TFrmPerDcInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFrmPerDcInfo(QWidget* parent = nullptr);

    QLabel *CustNoView = nullptr, *SNoView = nullptr, *NameView = nullptr;
    QTableWidget* DCPriceItemGrid = nullptr;
    QComboBox* CBDCItems = nullptr;
    QLineEdit* EDCPrice = nullptr;
    QRadioButton *RBAfree = nullptr, *RBPfree = nullptr;
    QCheckBox* Cfree = nullptr;
    QPushButton *SaveBtn = nullptr, *CloseBtn = nullptr;
    // Item codes of CBDCItems entries, index for index ("00" first).
    QStringList CboItemT;

    // Fills the item lists and the grid (the choice back on its first entry).
    void FormCreate();
    void CBDCItemsChange();
    void DCPriceItemGridClick(int row);
    void CfreeClick();
    void SaveBtnClick();
    // Itemval of the exemption as text; empty when there is none.
    static QString sExempAmt(const QString& custNo, const QString& itemCd);

private:
    void fillGrid();
    QList<ExempItem> items_;
};
