#pragma once
#include "reports/ReportForm.h"

class QCheckBox;
class QRadioButton;

// "영수증": receipts of the paid rows of a round range.
class TFrmP103B00 : public TReportSelectForm {
    Q_OBJECT
public:
    explicit TFrmP103B00(QWidget* parent = nullptr);
    ~TFrmP103B00() override;

    QLineEdit* MEdtSetlDt = nullptr; // payment date
    QLineEdit *edtHo = nullptr, *edtTotItem = nullptr, *EdtBigo = nullptr;
    QRadioButton *rdoAll = nullptr, *rdoAuto = nullptr, *rdoCash = nullptr; // RdoShftClsfy
    QCheckBox* DoubleCheckBox = nullptr;

protected:
    void fillExtra(ReportSelection& s) const override;
    void quarterChanged() override;
};

extern TFrmP103B00* FrmP103B00;
