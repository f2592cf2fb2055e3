#pragma once
#include "reports/ResolutionDialog.h"

// "징수결의서": the dialog of the form, its fields kept in "ini/징수결의서.ini".
class TFrmP107B00 : public TResolutionDialog {
    Q_OBJECT
public:
    explicit TFrmP107B00(QWidget* parent = nullptr);
    ~TFrmP107B00() override;
};

extern TFrmP107B00* FrmP107B00;
