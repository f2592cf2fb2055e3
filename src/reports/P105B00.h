#pragma once
#include "reports/ResolutionDialog.h"

// "지급결의서": the dialog of the form, its fields kept in "ini/지급결의서.ini".
class TFrmP105B00 : public TResolutionDialog {
    Q_OBJECT
public:
    explicit TFrmP105B00(QWidget* parent = nullptr);
    ~TFrmP105B00() override;

protected:
    // Enter in the first date of either block copies it into the block's
    // other dates.
    void enterPressed(QLineEdit* e) override;
};

extern TFrmP105B00* FrmP105B00;
