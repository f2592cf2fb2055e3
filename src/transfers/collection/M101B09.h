#pragma once
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class TKeyEdit;

// "계좌번호변경": a payer's new bank and account.
class TFrmM101B09 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM101B09(QWidget* parent = nullptr);

    QComboBox* cbBank; // "99.은행없음", then every bank
    TKeyEdit* MEdtAcctNo; // 16 digits
    QLineEdit* MEdtSchNo; // shown only
    QPushButton* BbtnOK;
    QPushButton* BBtnCncl;

    // Selects the first entry starting with the bank code.
    void selectBank(const QString& bankCd);
    void BbtnOKClick();
};
