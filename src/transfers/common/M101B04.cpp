#include "transfers/common/M101B04.h"

#include "platform/sys/Clock.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/Msg.h"
#include "shared/ButtonRow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFrmM101B04::TFrmM101B04(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("이체일자입력"));
    auto panel = [this](const QString& caption) {
        auto* l = new QLabel(caption, this);
        l->setFrameShape(QFrame::Panel);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    auto picker = [this](const char* name) {
        auto* d = new DatePicker(this);
        d->setObjectName(QString::fromLatin1(name));
        return d;
    };
    PnlMvSDt = panel(QStringLiteral("이체시작일"));
    DTPickerMvS = picker("DTPickerMvS");
    PnlMvEDt = panel(QStringLiteral("이체종료일"));
    DTPickerMvE = picker("DTPickerMvE");
    cbMAcctNo = new QComboBox(this);
    cbMAcctNo->setObjectName(QStringLiteral("cbMAcctNo"));
    CboEduCode = new QComboBox(this);
    CboEduCode->setVisible(false);
    pnlShftCnt = new QLabel(this);
    pnlShftAmt = new QLabel(this);
    pnlShftCnt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    pnlShftAmt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bbtnOK = new QPushButton(QStringLiteral("확인"), this);
    bbtnCncl = new QPushButton(QStringLiteral("취소"), this);

    auto* grid = new QGridLayout;
    grid->addWidget(PnlMvSDt, 0, 0);
    grid->addWidget(DTPickerMvS, 0, 1);
    grid->addWidget(PnlMvEDt, 1, 0);
    grid->addWidget(DTPickerMvE, 1, 1);
    grid->addWidget(panel(QStringLiteral("모   계   좌")), 2, 0);
    grid->addWidget(cbMAcctNo, 2, 1);
    grid->addWidget(panel(QStringLiteral("총   건   수")), 3, 0);
    grid->addWidget(pnlShftCnt, 3, 1);
    grid->addWidget(panel(QStringLiteral("총   금   액")), 4, 0);
    grid->addWidget(pnlShftAmt, 4, 1);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addLayout(ButtonRow::rightAligned({bbtnOK, bbtnCncl}));

    connect(bbtnOK, &QPushButton::clicked, this, &TFrmM101B04::bbtnOKClick);
    connect(bbtnCncl, &QPushButton::clicked, this, &TFrmM101B04::bbtnCnclClick);
    connect(cbMAcctNo, &QComboBox::currentIndexChanged, this, &TFrmM101B04::cbMAcctNoChange);
    FormCreate();
}

void TFrmM101B04::FormCreate() {
    const QDate tomorrow = Clock::today().addDays(1);
    DTPickerMvS->setDate(tomorrow);
    DTPickerMvE->setDate(tomorrow);
}

void TFrmM101B04::ShowEndDate(bool show) {
    PnlMvSDt->setText(show ? QStringLiteral("이체시작일") : QStringLiteral("이  체  일"));
    PnlMvEDt->setVisible(show);
    DTPickerMvE->setVisible(show);
}

QString TFrmM101B04::FormatCount(qint64 v) {
    QString digits = QString::number(v < 0 ? -v : v);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return (v < 0 ? QStringLiteral("-") : QString()) + digits + QLatin1Char(' ');
}

void TFrmM101B04::SetTotals(qint64 count, qint64 amount) {
    pnlShftCnt->setText(FormatCount(count));
    pnlShftAmt->setText(FormatCount(amount));
}

void TFrmM101B04::bbtnOKClick() {
    // Today is accepted; a day already past cannot be a transfer day.
    const QDate today = Clock::today();
    for (QDateEdit* picker : {DTPickerMvS, DTPickerMvE}) {
        if (today > picker->date()) {
            Msg::show(QCoreApplication::applicationName(),
                      QStringLiteral("설정한 날짜는 이체가 불가능 합니다. 확인하십시오."));
            picker->setFocus();
            return;
        }
    }
    accept();
}

void TFrmM101B04::bbtnCnclClick() {
    reject();
}

void TFrmM101B04::cbMAcctNoChange(int index) {
    if (index >= 0 && index < CboEduCode->count()) CboEduCode->setCurrentIndex(index);
}
