#include "transfers/collection/M101B11.h"

#include "platform/ui/Msg.h"
#include "transfers/collection/RowDialogs.h"
#include "transfers/collection/RowEdits.h"
#include "transfers/common/KeyEdit.h"

#include <QFormLayout>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TFrmM101B11::TFrmM101B11(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("금액수정"));
    edtItem = new QLineEdit(this);
    edtItem->setEnabled(false);
    MEdtSchNo = new QLineEdit(this);
    MEdtSchNo->setEnabled(false);
    EdtAmt = new TKeyEdit(this);
    EdtAmt->setMaxLength(13);
    EdtAmt->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,]*")), this));
    EdtAmt->onKey = [this](QKeyEvent* e, const QString&) {
        if (!isEnterKey(e)) return false;
        BBtnOKClick();
        return true;
    };
    BBtnOK = new QPushButton(QStringLiteral("수정"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    connect(BBtnOK, &QPushButton::clicked, this, &TFrmM101B11::BBtnOKClick);
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("항목"), edtItem);
    form->addRow(QStringLiteral("학번"), MEdtSchNo);
    form->addRow(QStringLiteral("금액"), EdtAmt);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addLayout(RowDialogs::buttonRow(BBtnOK, BBtnCncl));
    EdtAmt->setFocus();
}

std::optional<qint64> TFrmM101B11::amount() const {
    return RowEdit::parseAmount(EdtAmt->text());
}

void TFrmM101B11::BBtnOKClick() {
    if (EdtAmt->text().trimmed().isEmpty()) {
        Msg::error(QStringLiteral("금액입력오류"), QStringLiteral("금액을 입력하세요!"), this);
        EdtAmt->setFocus();
        return;
    }
    // Whole won only: a typo is never saved as 0.
    if (!amount()) {
        Msg::error(QStringLiteral("금액입력오류"), QStringLiteral("금액은 숫자로만 입력하세요!"), this);
        EdtAmt->setFocus();
        return;
    }
    accept();
}
