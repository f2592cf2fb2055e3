#pragma once
#include "reports/YearEndForm.h"

class QDateEdit;
class QRadioButton;

// "영수증(Sum)": every payment of a period for the chosen items of up to two
// item groups, listed, and printed as one receipt per payer.
class TfrmReceiptSum : public TYearEndForm {
    Q_OBJECT
public:
    explicit TfrmReceiptSum(QWidget* parent = nullptr);
    ~TfrmReceiptSum() override;

    QDateEdit *DTP_sdt = nullptr, *DTP_edt = nullptr;
    QRadioButton* RdoShftClsfy[3] = {};
    QLineEdit *edtHo = nullptr, *edtTotItem = nullptr, *EdtBigo = nullptr;
    QListWidget* CLbNCd_item = nullptr;
    QPushButton* BBtnCheckAll = nullptr;
    QComboBox* cboGroup_2 = nullptr;
    QListWidget* CLbNCd_item_2 = nullptr;
    QPushButton* BBtnCheckAll_2 = nullptr;

    // "인쇄": the receipts of the listed rows, with the texts as they are now.
    void print() override;

protected:
    void fillExtra(ReportSelection& s) const override;
};

extern TfrmReceiptSum* frmReceiptSum;
