#include "transfers/collection/M401B01.h"

#include "shared/ButtonRow.h"

#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

TFrmM401B01::TFrmM401B01(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("급식인증 자료 전송확인"));
    txtV = new QLabel(this);
    txtW = new QLabel(this);
    txtYearM = new QLabel(this);
    txtSeqNo = new QLabel(this);
    cmdApply = new QPushButton(QStringLiteral("확인"), this);
    cmdCancel = new QPushButton(QStringLiteral("취소"), this);
    connect(cmdApply, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* g = new QGridLayout;
    auto* ym = new QLabel(QStringLiteral("신청년월:"), this);
    auto* ss = new QLabel(QStringLiteral("회  차:"), this);
    g->addWidget(ym, 0, 0);
    g->addWidget(txtYearM, 0, 1);
    g->addWidget(ss, 1, 0);
    g->addWidget(txtSeqNo, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("총건수:"), this), 2, 0);
    g->addWidget(txtV, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("총금액:"), this), 3, 0);
    g->addWidget(txtW, 3, 1);
    for (QWidget* w : {static_cast<QWidget*>(ym), static_cast<QWidget*>(ss), static_cast<QWidget*>(txtYearM),
                       static_cast<QWidget*>(txtSeqNo)})
        w->hide();
    auto* top = new QVBoxLayout(this);
    top->addLayout(g);
    top->addLayout(ButtonRow::rightAligned({cmdApply, cmdCancel}));
    cmdCancel->setDefault(true);
    cmdCancel->setFocus();
}

QString TFrmM401B01::countText(qint64 n) {
    return QLocale(QLocale::Korean).toString(n) + QStringLiteral(" 건");
}

QString TFrmM401B01::amountText(qint64 n) {
    return QLocale(QLocale::Korean).toString(n) + QStringLiteral(" 원");
}
