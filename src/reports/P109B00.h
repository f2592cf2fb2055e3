#pragma once
#include "reports/ReportForm.h"

// "미납명세서": the open rows of a round range, printed one statement a
// student, four a page (TFrmP109P00).
class TFrmP109B00 : public TReportSelectForm {
    Q_OBJECT
public:
    explicit TFrmP109B00(QWidget* parent = nullptr);
    ~TFrmP109B00() override;

    QLineEdit* MEdtSetlDt = nullptr; // payment deadline
    QLineEdit *edtdesc = nullptr, *edtdesc2 = nullptr;

    void cboGroupChangeRounds();
    // Prints the students and rows of the last search with the deadline and
    // footers as they are now.
    void print() override;

protected:
    void fillExtra(ReportSelection& s) const override;
    void quarterChanged() override;
    bool roundPicked(const QString& yearMon, const QString& seqNo) override;
};

extern TFrmP109B00* FrmP109B00;
