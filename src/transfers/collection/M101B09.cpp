#include "transfers/collection/M101B09.h"

#include "data/DMBank.h"
#include "data/DMMain.h"
#include "platform/ui/Msg.h"
#include "shared/ButtonRow.h"
#include "transfers/common/KeyEdit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TFrmM101B09::TFrmM101B09(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("계좌번호변경"));
    cbBank = new QComboBox(this);
    cbBank->addItem(QStringLiteral("99.은행없음"));
    DMData->FillBankCombo(cbBank, QString());
    MEdtAcctNo = new TKeyEdit(this);
    MEdtAcctNo->setMaxLength(16);
    MEdtAcctNo->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), MEdtAcctNo));
    MEdtAcctNo->onKey = [this](QKeyEvent* e, const QString&) {
        if (!isEnterKey(e)) return false;
        BbtnOKClick();
        return true;
    };
    MEdtSchNo = new QLineEdit(this);
    MEdtSchNo->setEnabled(false);
    BbtnOK = new QPushButton(QStringLiteral("확인"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    connect(BbtnOK, &QPushButton::clicked, this, &TFrmM101B09::BbtnOKClick);
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("학번"), MEdtSchNo);
    form->addRow(QStringLiteral("은행"), cbBank);
    form->addRow(QStringLiteral("계좌번호"), MEdtAcctNo);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addLayout(ButtonRow::rightAligned({BbtnOK, BBtnCncl}));
    MEdtAcctNo->setFocus();
}

void TFrmM101B09::selectBank(const QString& bankCd) {
    for (int i = 0; i < cbBank->count(); ++i)
        if (!bankCd.isEmpty() && cbBank->itemText(i).startsWith(bankCd)) {
            cbBank->setCurrentIndex(i);
            return;
        }
}

void TFrmM101B09::BbtnOKClick() {
    const QString bank = cbBank->currentText().left(2);
    // "은행없음" takes any account, an empty one too.
    if (bank != QLatin1String("99") && !DMBankLib->CheckAcctNo(bank, MEdtAcctNo->text().trimmed())) {
        Msg::error(QStringLiteral("계좌번호오류"), QStringLiteral("계좌번호가 잘못되었습니다!"), this);
        MEdtAcctNo->setFocus();
        return;
    }
    accept();
}
