#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;
class TKeyEdit;

// "미납사유": the reason an unprocessed row is unpaid.
class TFrmM101B12 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM101B12(QWidget* parent = nullptr);

    QLineEdit* edtItem;
    QLineEdit* MEdtSchNo;
    TKeyEdit* EdtUnPaid; // 30 bytes
    QPushButton* BBtnOK;
    QPushButton* BBtnCncl;
};
