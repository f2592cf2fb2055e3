#include "shared/F201B03_02.h"

#include "shared/ButtonRow.h"

#include "platform/ui/Msg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const char* const kTag = "Tag";
}

TFrmF201B03_02::TFrmF201B03_02(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("인쇄형태"));
    auto* v = new QVBoxLayout(this);

    auto* dir = new QGroupBox(QStringLiteral("출력방향"), this);
    auto* dl = new QHBoxLayout(dir);
    pVertical = new QRadioButton(QStringLiteral("세로방향"), dir);
    pHorizontal = new QRadioButton(QStringLiteral("가로방향"), dir);
    pVertical->setProperty(kTag, 0);
    pHorizontal->setProperty(kTag, 1);
    pVertical->setChecked(true);
    dl->addWidget(pVertical);
    dl->addWidget(pHorizontal);
    v->addWidget(dir);

    auto* kind = new QGroupBox(this);
    auto* kl = new QHBoxLayout(kind);
    rdobtn1 = new QRadioButton(QStringLiteral("전체 인쇄"), kind);
    rdobtn2 = new QRadioButton(QStringLiteral("학년반별 인쇄"), kind);
    rdobtn1->setChecked(true);
    kl->addWidget(rdobtn1);
    kl->addWidget(rdobtn2);
    v->addWidget(kind);

    chkPanel = new QGroupBox(QStringLiteral("세로출력시  인쇄선택필드"), this);
    auto* cl = new QHBoxLayout(chkPanel);
    chkGroup = new QCheckBox(QStringLiteral("그룹"), chkPanel);
    chkMiNab = new QCheckBox(QStringLiteral("비고"), chkPanel);
    chkHanDay = new QCheckBox(QStringLiteral("환불일자"), chkPanel);
    chkHanAmt = new QCheckBox(QStringLiteral("환불금액"), chkPanel);
    const int tags[4] = {1, 10, 100, 1000};
    int i = 0;
    for (QCheckBox* c : {chkGroup, chkMiNab, chkHanDay, chkHanAmt}) {
        c->setProperty(kTag, tags[i++]);
        cl->addWidget(c);
        connect(c, &QCheckBox::clicked, this, [this, c] { chkHanDayClick(c); });
    }
    chkHanDay->setChecked(true);
    chkHanAmt->setChecked(true);
    v->addWidget(chkPanel);

    BBtnOk = new QPushButton(QStringLiteral("확인"), this);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), this);
    v->addLayout(ButtonRow::rightAligned({BBtnOk, BBtnClose}));
    BBtnOk->setDefault(true);

    connect(pVertical, &QRadioButton::clicked, this, &TFrmF201B03_02::pVerticalClick);
    connect(pHorizontal, &QRadioButton::clicked, this, &TFrmF201B03_02::pVerticalClick);
    connect(BBtnOk, &QPushButton::clicked, this, &TFrmF201B03_02::BBtnOkClick);
    connect(BBtnClose, &QPushButton::clicked, this, &TFrmF201B03_02::BBtnCloseClick);
}

int TFrmF201B03_02::checkedCount() const {
    int n = 0;
    for (QCheckBox* c : {chkGroup, chkMiNab, chkHanDay, chkHanAmt})
        n += c->isChecked() ? 1 : 0;
    return n;
}

int TFrmF201B03_02::FieldSelCode() const {
    int code = 0;
    for (QCheckBox* c : {chkGroup, chkMiNab, chkHanDay, chkHanAmt})
        if (c->isChecked()) code += c->property(kTag).toInt();
    return code;
}

void TFrmF201B03_02::pVerticalClick() {
    // Landscape prints every column; the boxes keep their states.
    const bool portrait = pVertical->isChecked();
    chkPanel->setEnabled(portrait);
    for (QCheckBox* c : {chkGroup, chkMiNab, chkHanDay, chkHanAmt})
        c->setEnabled(portrait);
}

void TFrmF201B03_02::chkHanDayClick(QCheckBox* clicked) {
    if (checkedCount() > 2) {
        clicked->setChecked(false);
        Msg::show(QCoreApplication::applicationName(), QStringLiteral("2개 항목만 선택가능합니다."),
                  MsgIcon::None, MsgButtons::Ok, this);
    }
}

void TFrmF201B03_02::BBtnOkClick() {
    if (pVertical->isChecked() && checkedCount() < 2) {
        Msg::show(QCoreApplication::applicationName(),
                  QStringLiteral("세로출력인 경우 2개이상 인쇄필드를 선택하세요"), MsgIcon::None,
                  MsgButtons::Ok, this);
        return;
    }
    done(1);
}

void TFrmF201B03_02::BBtnCloseClick() {
    done(2);
}
