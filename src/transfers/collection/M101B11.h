#pragma once
#include "transfers/common/AmountDialog.h"

// "금액수정": the new amount of one row, with the row's item.
class TFrmM101B11 : public TAmountDialog {
    Q_OBJECT
public:
    explicit TFrmM101B11(QWidget* parent = nullptr);

    QLineEdit* edtItem;
};
