#include "transfers/distribution/M102B10.h"

#include "platform/ui/FormRegistry.h"
#include "transfers/common/KeyEdit.h"

#include <QPushButton>

TFrmM102B10::TFrmM102B10(QWidget* parent) : TAmountDialog(parent) {
    build(nullptr);
    // Enter on a button moves on like anywhere else but the amount.
    BBtnOK->setAutoDefault(false);
    BBtnCncl->setAutoDefault(false);
}

QString TFrmM102B10::sno() const {
    return MEdtSchNo->text();
}

void TFrmM102B10::setSNo(const QString& sno) {
    MEdtSchNo->setText(sno);
}

QString TFrmM102B10::amountText() const {
    return EdtAmt->text().trimmed();
}

void TFrmM102B10::BBtnCnclClick() {
    reject();
}

// Enter in a control other than the amount moves on to the next one.
void TFrmM102B10::keyPressEvent(QKeyEvent* e) {
    if (isEnterKey(e)) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(e);
}

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("M102B10"), QStringLiteral("금액수정"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmM102B10(parent); }});
} // namespace
