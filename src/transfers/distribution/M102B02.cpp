#include "transfers/distribution/M102B02.h"

#include "shared/ButtonRow.h"
#include "transfers/distribution/DistribRound.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFrmM102B02::TFrmM102B02(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("회차선택"));
    EdGcode = new QLineEdit(this);
    EdGcode->hide();
    LbYearMon = new QListWidget(this);
    BBtnOK = new QPushButton(QStringLiteral("확인"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    connect(BBtnOK, &QPushButton::clicked, this, &TFrmM102B02::BBtnOKClick);
    connect(LbYearMon, &QListWidget::itemDoubleClicked, this, &TFrmM102B02::BBtnOKClick);
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
    auto* top = new QVBoxLayout(this);
    top->addWidget(LbYearMon);
    top->addLayout(ButtonRow::rightAligned({BBtnOK, BBtnCncl}));
}

void TFrmM102B02::showEvent(QShowEvent* e) {
    FormShow();
    QDialog::showEvent(e);
}

void TFrmM102B02::FormShow() {
    LbYearMon->clear();
    LbYearMon->addItems(DistribRound::selectorLines(EdGcode->text()));
    LbYearMon->setCurrentRow(-1);
}

void TFrmM102B02::BBtnOKClick() {
    // OK without a chosen line picks nothing: the caller's round stays.
    if (!LbYearMon->currentItem()) {
        reject();
        return;
    }
    accept();
}

QString TFrmM102B02::yearMon() const {
    return LbYearMon->currentItem() ? LbYearMon->currentItem()->text().left(6) : QString();
}

QString TFrmM102B02::seqNo() const {
    return LbYearMon->currentItem() ? LbYearMon->currentItem()->text().mid(9, 2) : QString();
}
