#include "transfers/common/M101B02.h"

#include "shared/ButtonRow.h"
#include "transfers/common/Rounds.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFrmM101B02::TFrmM101B02(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("이체년월/회차 선택"));
    EdGcode = new QLineEdit(this);
    EdGcode->hide();
    // The key lines stay hidden; the user picks from the titled lines.
    LbYearMon = new QListWidget(this);
    LbYearMon->setEnabled(false);
    LbYearMon->hide();
    lbSeqTitle = new QListWidget(this);
    BBtnOK = new QPushButton(QStringLiteral("확인"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    auto* top = new QVBoxLayout(this);
    top->addWidget(lbSeqTitle);
    top->addLayout(ButtonRow::rightAligned({BBtnOK, BBtnCncl}));

    connect(lbSeqTitle, &QListWidget::itemDoubleClicked, this, [this] { LbYearMonDblClick(); });
    connect(BBtnOK, &QPushButton::clicked, this, [this] { LbYearMonDblClick(); });
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmM101B02::InitAction(const QString& mask) {
    mask_ = mask;
}

void TFrmM101B02::showEvent(QShowEvent* e) {
    FormActivate();
    QDialog::showEvent(e);
}

void TFrmM101B02::FormActivate() {
    LbYearMon->clear();
    displays_.clear();
    for (const Rounds::RoundLine& l : Rounds::selectorRounds(mask_, EdGcode->text())) {
        LbYearMon->addItem(l.key);
        displays_ << l.display;
    }
    bLoadSeqTitle();
    if (LbYearMon->count() > 0) LbYearMon->setCurrentRow(0);
    if (lbSeqTitle->count() > 0) lbSeqTitle->setCurrentRow(0);
    BBtnOK->setEnabled(lbSeqTitle->count() > 0);
}

void TFrmM101B02::bLoadSeqTitle() {
    lbSeqTitle->clear();
    lbSeqTitle->addItems(displays_);
}

void TFrmM101B02::LbYearMonDblClick() {
    if (lbSeqTitle->count() == 0) return;
    LbYearMon->setCurrentRow(lbSeqTitle->currentRow());
    accept();
}

QString TFrmM101B02::yearMon() const {
    const QListWidgetItem* it = LbYearMon->currentItem();
    return it ? it->text().mid(0, 6) : QString();
}

QString TFrmM101B02::seqNo() const {
    const QListWidgetItem* it = LbYearMon->currentItem();
    return it ? it->text().mid(9, 2) : QString();
}
