#pragma once
#include "reports/ReportForm.h"

// "환불내역 조회/출력": the refunded rows of one round, printed by grade.
class TFrmP401B00 : public TReportSelectForm {
    Q_OBJECT
public:
    explicit TFrmP401B00(QWidget* parent = nullptr);
    ~TFrmP401B00() override;

    QComboBox* CbItem = nullptr;
    QLineEdit *MEdtReDt = nullptr, *MEdtReDt2 = nullptr;

    void cboGroupChangeItems();
    void MEdtSeqNoChange();
    // Prints the rows of the last search, whatever was changed since.
    void print() override;

protected:
    void fillExtra(ReportSelection& s) const override;
};

extern TFrmP401B00* FrmP401B00;
