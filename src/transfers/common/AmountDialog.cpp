#include "transfers/common/AmountDialog.h"

#include "platform/ui/Msg.h"
#include "shared/ButtonRow.h"
#include "transfers/common/RowEdits.h"
#include "transfers/common/KeyEdit.h"

#include <QFormLayout>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace AmountEntry {

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

TKeyEdit* makeEdit(QDialog* dialog, std::function<void()> confirm) {
    auto* e = new TKeyEdit(dialog);
    e->setMaxLength(13);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,]*")), dialog));
    e->onKey = [confirm = std::move(confirm)](QKeyEvent* k, const QString&) {
        if (!isEnterKey(k)) return false;
        confirm();
        return true;
    };
    return e;
}

} // namespace AmountEntry

TAmountDialog::TAmountDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("금액수정"));
}

void TAmountDialog::build(QLineEdit* item) {
    MEdtSchNo = new QLineEdit(this);
    MEdtSchNo->setEnabled(false);
    EdtAmt = AmountEntry::makeEdit(this, [this] { BBtnOKClick(); });
    BBtnOK = new QPushButton(QStringLiteral("수정"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    connect(BBtnOK, &QPushButton::clicked, this, &TAmountDialog::BBtnOKClick);
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
    auto* form = new QFormLayout;
    if (item) form->addRow(QStringLiteral("항목"), item);
    form->addRow(QStringLiteral("학번"), MEdtSchNo);
    form->addRow(QStringLiteral("금액"), EdtAmt);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addLayout(ButtonRow::rightAligned({BBtnOK, BBtnCncl}));
    EdtAmt->setFocus();
}

std::optional<qint64> TAmountDialog::amount() const {
    return RowEdit::parseAmount(EdtAmt->text());
}

void TAmountDialog::BBtnOKClick() {
    if (!AmountEntry::accepted(EdtAmt->text(), this)) {
        EdtAmt->setFocus();
        return;
    }
    accept();
}
