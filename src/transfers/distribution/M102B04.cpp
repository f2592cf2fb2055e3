#include "transfers/distribution/M102B04.h"

#include "platform/sys/Clock.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/FormRegistry.h"
#include "shared/ButtonRow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFrmM102B04::TFrmM102B04(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("이체일자입력"));
    const auto picker = [this] { return new DatePicker(this); };
    DTPickerMvS = picker();
    DTPickerMvE = picker();
    cbMAcctNo = new QComboBox(this);
    cbMAcctNo->setMinimumContentsLength(32);

    pnlBokgi = new QWidget(this);
    auto* fileTp = new QHBoxLayout(pnlBokgi);
    fileTp->setContentsMargins(0, 0, 0, 0);
    fileTp->addWidget(new QLabel(QStringLiteral("거래점코드"), pnlBokgi));
    CbFileTp = new QComboBox(pnlBokgi);
    CbFileTp->addItems({QStringLiteral("1.영업자금"), QStringLiteral("2.기타자금1"),
                        QStringLiteral("3.기타자금2"), QStringLiteral("4.급여자금")});
    CbFileTp->setCurrentIndex(-1);
    fileTp->addWidget(CbFileTp);
    pnlBokgi->hide();

    Panel3 = new QLabel(QStringLiteral("항         목 "), this);
    RGrpItemBox = new QWidget(this);
    auto* items = new QHBoxLayout(RGrpItemBox);
    items->setContentsMargins(0, 0, 0, 0);
    RGrpItem = new QButtonGroup(this);
    const QString kinds[2] = {QStringLiteral("급여"), QStringLiteral("비급여")};
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(kinds[i], RGrpItemBox);
        RGrpItem->addButton(r, i);
        items->addWidget(r);
    }
    RGrpItem->button(0)->setChecked(true);
    Panel3->hide();
    RGrpItemBox->hide();

    bbtnOK = new QPushButton(QStringLiteral("확인"), this);
    bbtnCncl = new QPushButton(QStringLiteral("취소"), this);
    connect(bbtnOK, &QPushButton::clicked, this, &TFrmM102B04::bbtnOKClick);
    connect(bbtnCncl, &QPushButton::clicked, this, &TFrmM102B04::bbtnCnclClick);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("이체시작일"), DTPickerMvS);
    form->addRow(QStringLiteral("이체종료일"), DTPickerMvE);
    form->addRow(QStringLiteral("모   계   좌"), cbMAcctNo);
    form->addRow(Panel3, RGrpItemBox);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(pnlBokgi);
    top->addLayout(ButtonRow::rightAligned({bbtnOK, bbtnCncl}));
    FormCreate();
}

void TFrmM102B04::FormCreate() {
    const QDate tomorrow = Clock::today().addDays(1);
    DTPickerMvS->setDate(tomorrow);
    DTPickerMvE->setDate(tomorrow);
}

void TFrmM102B04::bbtnOKClick() {
    accept();
}

void TFrmM102B04::bbtnCnclClick() {
    reject();
}

void TFrmM102B04::setAccounts(const QStringList& lines) {
    cbMAcctNo->clear();
    cbMAcctNo->addItems(lines);
    cbMAcctNo->setCurrentIndex(lines.isEmpty() ? -1 : 0);
}

QStringList TFrmM102B04::accounts() const {
    QStringList out;
    for (int i = 0; i < cbMAcctNo->count(); ++i)
        out << cbMAcctNo->itemText(i);
    return out;
}

QDate TFrmM102B04::startDate() const {
    return DTPickerMvS->date();
}

QDate TFrmM102B04::endDate() const {
    return DTPickerMvE->date();
}

QString TFrmM102B04::acctLine() const {
    return cbMAcctNo->currentText();
}

int TFrmM102B04::itemIndex() const {
    return RGrpItem->checkedId();
}

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("M102B04"), QStringLiteral("이체일자입력"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmM102B04(parent); }});
} // namespace
