#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;

// 암호변경: current, new and confirmed password. The caller compares the
// new one with the confirmation.
class TFrmC101B03 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmC101B03(QWidget* parent = nullptr);

    QLineEdit* EdtCurrPswd;
    QLineEdit* EdtUpdtPswd;
    QLineEdit* EdtConfiPswd;
    QPushButton* BBtnConfi;
    QPushButton* BBtnCncl;
};
