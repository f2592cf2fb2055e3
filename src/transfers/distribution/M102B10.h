#pragma once
#include "transfers/common/AmountDialog.h"

// "금액수정": the new amount of one distribution row. The caller puts the
// row's student number in (property "sno") and reads the amount after OK
// (property "amountText", or amount()).
class TFrmM102B10 : public TAmountDialog {
    Q_OBJECT
    Q_PROPERTY(QString sno READ sno WRITE setSNo)
    Q_PROPERTY(QString amountText READ amountText)
public:
    explicit TFrmM102B10(QWidget* parent = nullptr);

    void BBtnCnclClick();

    QString sno() const;
    void setSNo(const QString& sno);
    QString amountText() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};
