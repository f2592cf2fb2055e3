#pragma once
#include "reports/ResolutionDialog.h"

// "과오납금반환결의서": the dialog of the form, its fields kept in "ini/과오납금반환결의서.ini".
class TFrmP106B00 : public TResolutionDialog {
    Q_OBJECT
public:
    explicit TFrmP106B00(QWidget* parent = nullptr);
    ~TFrmP106B00() override;
};

extern TFrmP106B00* FrmP106B00;
