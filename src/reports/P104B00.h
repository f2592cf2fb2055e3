#pragma once
#include "reports/ResolutionDialog.h"

// "수입결의서": the dialog of the form, its fields kept in "ini/수입결의서.ini".
class TFrmP104B00 : public TResolutionDialog {
    Q_OBJECT
public:
    explicit TFrmP104B00(QWidget* parent = nullptr);
    ~TFrmP104B00() override;

    // An eighth digit of the first date fills the two other dates.
    void MedtDate1Change();
};

extern TFrmP104B00* FrmP104B00;
