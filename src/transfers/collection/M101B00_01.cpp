#include "transfers/collection/M101B00_01.h"

#include "platform/ui/Cp949Validator.h"
#include "shared/ButtonRow.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmM101B00_01::TFrmM101B00_01(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("비고란 사용자 입력 "));
    auto* about = new QGroupBox(QStringLiteral("기능 개요"), this);
    auto* al = new QVBoxLayout(about);
    al->addWidget(new QLabel(QStringLiteral("본 기능은 집금이체관련 해당학생에 대한 참조사항 등\r\n기타 사용자가 메모 "
                                            "하고자 하시는 내용을 직접 입력 및\r\n관리 할 수 있는 비고 관리 툴 "
                                            "입니다."),
                             about));
    BigoEdit = new QLineEdit(this);
    Cp949Validator::limit(BigoEdit, 30);
    OkBtn = new QPushButton(QStringLiteral("확 인"), this);
    OkBtn->setEnabled(false);
    CancelBtn = new QPushButton(QStringLiteral("취 소"), this);
    connect(BigoEdit, &QLineEdit::textChanged, this,
            [this](const QString& t) { OkBtn->setEnabled(!t.trimmed().isEmpty()); });
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    auto* top = new QVBoxLayout(this);
    top->addWidget(about);
    top->addWidget(new QLabel(QStringLiteral("비고란 입력"), this));
    top->addWidget(BigoEdit);
    top->addLayout(ButtonRow::rightAligned({OkBtn, CancelBtn}));
    BigoEdit->setFocus();
}
