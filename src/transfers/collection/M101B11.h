#pragma once
#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;
class TKeyEdit;

// "금액수정": the new amount of one row.
class TFrmM101B11 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM101B11(QWidget* parent = nullptr);

    QLineEdit* edtItem;
    QLineEdit* MEdtSchNo;
    TKeyEdit* EdtAmt;
    QPushButton* BBtnOK;
    QPushButton* BBtnCncl;

    void BBtnOKClick();
    // The amount after OK.
    std::optional<qint64> amount() const;
};
