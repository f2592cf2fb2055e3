#pragma once
#include "reports/YearEndForm.h"

class QDateEdit;
class QRadioButton;

// "연말정산자료생성(분기별)": the year's payments with payment codes (three
// lists of items) and period codes (four quarters), written into a workbook.
class TfrmSumTax : public TYearEndForm {
    Q_OBJECT
public:
    explicit TfrmSumTax(QWidget* parent = nullptr);
    ~TfrmSumTax() override;

    QLineEdit* MEdtYear = nullptr;
    QLineEdit* EdtS_nm[4] = {};
    QDateEdit *DTP_s[4] = {}, *DTP_e[4] = {};
    QRadioButton *RBtSot_1 = nullptr, *RBtSot_2 = nullptr;
    QRadioButton *RGrpRefundTy0 = nullptr, *RGrpRefundTy1 = nullptr;
    QLineEdit* EdtNapCd_nm[3] = {};
    QListWidget* CLbNCd_item[3] = {};
    QPushButton* BBtnCheckAll[3] = {};

    void MEdtYearChange();
    void cboGroupChangeLists();
    // "파일생성": the workbook of the last search.
    void print() override;

protected:
    void fillExtra(ReportSelection& s) const override;
};

extern TfrmSumTax* frmSumTax;
