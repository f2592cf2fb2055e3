#include "transfers/distribution/M102B10.h"

#include "platform/ui/FormRegistry.h"
#include "platform/ui/Msg.h"
#include "transfers/collection/RowDialogs.h"
#include "transfers/collection/RowEdits.h"
#include "transfers/common/KeyEdit.h"

#include <QFormLayout>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace DistribAmount {

bool accepted(const QString& text, QWidget* parent) {
    if (text.trimmed().isEmpty()) {
        Msg::error(QStringLiteral("금액입력오류"), QStringLiteral("금액을 입력하세요!"), parent);
        return false;
    }
    // Whole won only: a typo is never saved as 0.
    if (!RowEdit::parseAmount(text)) {
        Msg::error(QStringLiteral("금액입력오류"), QStringLiteral("금액은 숫자로만 입력하세요!"), parent);
        return false;
    }
    return true;
}

} // namespace DistribAmount

TFrmM102B10::TFrmM102B10(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("금액수정"));
    MEdtSchNo = new QLineEdit(this);
    MEdtSchNo->setEnabled(false);
    EdtAmt = new TKeyEdit(this);
    EdtAmt->setMaxLength(13);
    EdtAmt->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,]*")), this));
    EdtAmt->onKey = [this](QKeyEvent* e, const QString&) {
        if (!isEnterKey(e)) return false;
        BBtnOKClick();
        return true;
    };
    BBtnOK = new QPushButton(QStringLiteral("수정"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    BBtnOK->setAutoDefault(false);
    BBtnCncl->setAutoDefault(false);
    connect(BBtnOK, &QPushButton::clicked, this, &TFrmM102B10::BBtnOKClick);
    connect(BBtnCncl, &QPushButton::clicked, this, &TFrmM102B10::BBtnCnclClick);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("학번"), MEdtSchNo);
    form->addRow(QStringLiteral("금액"), EdtAmt);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addLayout(RowDialogs::buttonRow(BBtnOK, BBtnCncl));
    EdtAmt->setFocus();
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

std::optional<qint64> TFrmM102B10::amount() const {
    return RowEdit::parseAmount(EdtAmt->text());
}

void TFrmM102B10::BBtnOKClick() {
    if (!DistribAmount::accepted(EdtAmt->text(), this)) {
        EdtAmt->setFocus();
        return;
    }
    accept();
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
