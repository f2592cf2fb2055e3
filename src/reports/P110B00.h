#pragma once
#include "reports/ReportForm.h"

class QRadioButton;

// "납부고지서": payment notices of the open rows, for students with an
// account (TFrmP110P00) or the cash payment form for those without
// (TFrmP110P01).
class TFrmP110B00 : public TReportSelectForm {
    Q_OBJECT
public:
    explicit TFrmP110B00(QWidget* parent = nullptr);
    ~TFrmP110B00() override;

    QLineEdit *EdtYear = nullptr, *EditBun = nullptr;
    QLabel *Label1 = nullptr, *Label14 = nullptr, *Label9 = nullptr, *Label12 = nullptr;
    QRadioButton *rdoAuto = nullptr, *rdoCash = nullptr; // RdoShftClsfy
    QWidget* rdoAcctnoYN = nullptr;
    QRadioButton *rdoWhole = nullptr, *rdoPart = nullptr;
    QLineEdit *MedtSLastDate = nullptr, *MedtELastDate = nullptr;
    QLineEdit *edtBank = nullptr, *edtAcctNo = nullptr, *edtdesc = nullptr;

    void RdoShftClsfyClick();
    // Prints the students and rows of the last search with the texts as
    // they are now.
    void print() override;

protected:
    void fillExtra(ReportSelection& s) const override;
    void quarterChanged() override;
    bool roundPicked(const QString& yearMon, const QString& seqNo) override;
};

extern TFrmP110B00* FrmP110B00;
