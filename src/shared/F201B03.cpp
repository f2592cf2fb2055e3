#include "shared/F201B03.h"

#include "shared/ButtonRow.h"

#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFrmF201B03::TFrmF201B03(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("인쇄형태"));
    auto* v = new QVBoxLayout(this);
    rdobtn1 = new QRadioButton(QStringLiteral("전체 인쇄"), this);
    rdobtn2 = new QRadioButton(QStringLiteral("학년반별 인쇄"), this);
    rdobtn1->setChecked(true);
    v->addWidget(rdobtn1);
    v->addWidget(rdobtn2);
    BBtnOk = new QPushButton(QStringLiteral("확인"), this);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), this);
    v->addLayout(ButtonRow::rightAligned({BBtnOk, BBtnClose}));
    BBtnOk->setDefault(true);
    connect(BBtnOk, &QPushButton::clicked, this, &TFrmF201B03::BBtnOkClick);
    connect(BBtnClose, &QPushButton::clicked, this, &TFrmF201B03::BBtnCloseClick);
}

void TFrmF201B03::BBtnOkClick() {
    done(1);
}

void TFrmF201B03::BBtnCloseClick() {
    done(2);
}
