#include "transfers/collection/M101B12.h"

#include "platform/ui/Cp949Validator.h"
#include "shared/ButtonRow.h"
#include "transfers/common/KeyEdit.h"

#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFrmM101B12::TFrmM101B12(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("미납사유"));
    edtItem = new QLineEdit(this);
    edtItem->setEnabled(false);
    MEdtSchNo = new QLineEdit(this);
    MEdtSchNo->setEnabled(false);
    EdtUnPaid = new TKeyEdit(this);
    Cp949Validator::limit(EdtUnPaid, 30);
    EdtUnPaid->setMinimumWidth(240);
    EdtUnPaid->onKey = [this](QKeyEvent* e, const QString&) {
        if (!isEnterKey(e)) return false;
        accept();
        return true;
    };
    BBtnOK = new QPushButton(QStringLiteral("수정"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    connect(BBtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("항목"), edtItem);
    form->addRow(QStringLiteral("학번"), MEdtSchNo);
    form->addRow(QStringLiteral("미납사유"), EdtUnPaid);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addLayout(ButtonRow::rightAligned({BBtnOK, BBtnCncl}));
    EdtUnPaid->setFocus();
}
