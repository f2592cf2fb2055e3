#include "transfers/collection/M101B11.h"

#include <QLineEdit>

TFrmM101B11::TFrmM101B11(QWidget* parent) : TAmountDialog(parent) {
    edtItem = new QLineEdit(this);
    edtItem->setEnabled(false);
    build(edtItem);
}
