#pragma once
#include "reports/YearEndForm.h"

class QRadioButton;

// "연말정산자료생성(월별)": the year's payments summed per student, payment
// code (ten lists of item group 1, four of item group 2) and month, written
// into a workbook.
class TfrmSumTax_mon : public TYearEndForm {
    Q_OBJECT
public:
    explicit TfrmSumTax_mon(QWidget* parent = nullptr);
    ~TfrmSumTax_mon() override;

    QLineEdit* MEdtYear = nullptr;
    QRadioButton *RBtSot_1 = nullptr, *RBtSot_2 = nullptr;
    QRadioButton *RGrpRefundTy0 = nullptr, *RGrpRefundTy1 = nullptr;
    QComboBox* cboGroup_2 = nullptr;
    // Lists 1-10 of group 1, then 21-24 of group 2.
    QLineEdit* EdtNapCd_nm[14] = {};
    QListWidget* CLbNCd_item[14] = {};
    QPushButton* BBtnCheckAll[14] = {};

    void cboGroupChangeLists();
    void cboGroup_2Change();
    // "파일생성": the workbook of the last search.
    void print() override;

protected:
    void fillExtra(ReportSelection& s) const override;
};

extern TfrmSumTax_mon* frmSumTax_mon;
