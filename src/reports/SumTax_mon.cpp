#include "reports/SumTax_mon.h"

#include "data/DMMain.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>

TfrmSumTax_mon* frmSumTax_mon = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{
    QStringLiteral("SumTax_mon"), QStringLiteral("연말정산자료생성(월별)"), FormEntry::Mode::WorkWindow,
    [](QWidget* parent) -> QWidget* { return new TfrmSumTax_mon(parent); }});

// The list number of position i: 1-10, then 21-24.
int listNo(int i) {
    return i < 10 ? i + 1 : i + 11;
}

} // namespace

TfrmSumTax_mon::TfrmSumTax_mon(QWidget* parent) : TYearEndForm(QStringLiteral("sumtax-mon"), parent) {
    frmSumTax_mon = this;
    setObjectName(QStringLiteral("TfrmSumTax_mon"));
    precheck = YearEndTax::checkMonthly;
    bbtnPrint->setText(QStringLiteral("파일생성"));

    auto* row1 = new QHBoxLayout;
    auto* yearBox = new QGroupBox(QStringLiteral("1.회계년도 설정 (이체,수납일 기준)"), this);
    auto* yl = new QHBoxLayout(yearBox);
    MEdtYear = new QLineEdit(QString::number(Clock::today().year()), yearBox);
    MEdtYear->setObjectName(QStringLiteral("MEdtYear"));
    Cp949Validator::limit(MEdtYear, 4, true);
    MEdtYear->setMaximumWidth(60);
    yl->addWidget(MEdtYear);
    row1->addWidget(yearBox);

    auto* rangeBox = new QGroupBox(QStringLiteral("2. 조회 범위 설정"), this);
    auto* rl = new QHBoxLayout(rangeBox);
    rl->addWidget(new QLabel(QStringLiteral("학번범위"), rangeBox));
    for (QLineEdit* e : {SHakFromEdit, SBanFromEdit, SBunFromEdit})
        rl->addWidget(e);
    rl->addWidget(new QLabel(QStringLiteral("~"), rangeBox));
    for (QLineEdit* e : {SHakToEdit, SBanToEdit, SBunToEdit})
        rl->addWidget(e);
    rl->addSpacing(12);
    rl->addWidget(new QLabel(QStringLiteral("정렬기준"), rangeBox));
    RBtSot_1 = new QRadioButton(QStringLiteral("학생정보"), rangeBox);
    RBtSot_2 = new QRadioButton(QStringLiteral("이체정보"), rangeBox);
    RBtSot_1->setChecked(true);
    rl->addWidget(RBtSot_1);
    rl->addWidget(RBtSot_2);
    row1->addWidget(rangeBox);

    auto* optBox = new QGroupBox(QStringLiteral("3. 조회 옵션"), this);
    auto* ol = new QHBoxLayout(optBox);
    RGrpRefundTy0 = new QRadioButton(QStringLiteral("환불금 적용"), optBox);
    RGrpRefundTy1 = new QRadioButton(QStringLiteral("환불금 미적용"), optBox);
    RGrpRefundTy0->setChecked(true);
    ol->addWidget(RGrpRefundTy0);
    ol->addWidget(RGrpRefundTy1);
    row1->addWidget(optBox);
    row1->addStretch();
    panel->addLayout(row1);

    // Fourteen code boxes: in a scroll area, so the grid keeps its room.
    auto* area = new QScrollArea(this);
    area->setWidgetResizable(true);
    area->setMaximumHeight(300);
    auto* inner = new QWidget(area);
    auto* codes = new QHBoxLayout(inner);
    codes->setContentsMargins(0, 0, 0, 0);
    auto* g1 = new QGroupBox(QStringLiteral("4. 납입금코드 설정 - 항목그룹 1"), inner);
    auto* g2 = new QGroupBox(QStringLiteral("항목그룹 2"), inner);
    auto* g1l = new QGridLayout(g1);
    auto* g2l = new QGridLayout(g2);
    cboGroup_2 = new QComboBox(g2);
    cboGroup_2->setObjectName(QStringLiteral("cboGroup_2"));
    g1l->addWidget(new QLabel(QStringLiteral("항목그룹"), g1), 0, 0);
    g1l->addWidget(cboGroup, 0, 1, 1, 2);
    g2l->addWidget(new QLabel(QStringLiteral("항목그룹"), g2), 0, 0);
    g2l->addWidget(cboGroup_2, 0, 1);
    for (int i = 0; i < 14; ++i) {
        const bool first = i < 10;
        QGroupBox* owner = first ? g1 : g2;
        const QString n = QString::number(listNo(i));
        auto* box = new QWidget(owner);
        auto* bl = new QGridLayout(box);
        bl->setContentsMargins(2, 2, 2, 2);
        EdtNapCd_nm[i] = new QLineEdit(QString::number(first ? 101 + i : 91 + i), box);
        EdtNapCd_nm[i]->setObjectName(QStringLiteral("EdtNapCd%1_nm").arg(n));
        Cp949Validator::limit(EdtNapCd_nm[i], 10);
        CLbNCd_item[i] = itemList(box, QStringLiteral("CLbNCd%1_item").arg(n));
        CLbNCd_item[i]->setMaximumHeight(80);
        BBtnCheckAll[i] = new QPushButton(QStringLiteral("All"), box);
        BBtnCheckAll[i]->setObjectName(QStringLiteral("BBtnCheckAll_%1").arg(n));
        bl->addWidget(new QLabel(QStringLiteral("납입금코드"), box), 0, 0);
        bl->addWidget(EdtNapCd_nm[i], 0, 1);
        bl->addWidget(CLbNCd_item[i], 1, 0, 1, 2);
        bl->addWidget(BBtnCheckAll[i], 2, 0, 1, 2);
        if (first)
            g1l->addWidget(box, 1 + i / 5, i % 5);
        else
            g2l->addWidget(box, 1 + (i - 10) / 2, (i - 10) % 2);
    }
    codes->addWidget(g1);
    codes->addWidget(g2);
    codes->addStretch();
    area->setWidget(inner);
    panel->addWidget(area);

    QList<QListWidget*> lists1, lists2;
    QList<QPushButton*> all1, all2;
    for (int i = 0; i < 14; ++i) {
        (i < 10 ? lists1 : lists2) << CLbNCd_item[i];
        (i < 10 ? all1 : all2) << BBtnCheckAll[i];
    }
    exclusiveLists(lists1, all1);
    exclusiveLists(lists2, all2);
    if (DMData) DMData->FillGroupCombo(cboGroup_2, QStringLiteral("00"));
    // The second group is the list's second entry; with one group, none.
    cboGroup_2->setCurrentIndex(cboGroup_2->count() > 1 ? 1 : -1);
    connect(cboGroup, &QComboBox::activated, this, [this](int) { cboGroupChangeLists(); });
    connect(cboGroup_2, &QComboBox::activated, this, [this](int) { cboGroup_2Change(); });
    cboGroupChangeLists();
    cboGroup_2Change();
    setColumns({QStringLiteral("학번"), QStringLiteral("이름"), QStringLiteral("금액"),
                QStringLiteral("수납일"), QStringLiteral("납입금코드"), QStringLiteral("차수코드"),
                QStringLiteral("학생주민번호")},
               {60, 90, 90, 90, 70, 70, 90});
}

TfrmSumTax_mon::~TfrmSumTax_mon() {
    if (frmSumTax_mon == this) frmSumTax_mon = nullptr;
}

void TfrmSumTax_mon::cboGroupChangeLists() {
    for (int i = 0; i < 10; ++i)
        fillItems(CLbNCd_item[i], cboGroup->currentText().left(2));
}

void TfrmSumTax_mon::cboGroup_2Change() {
    for (int i = 10; i < 14; ++i)
        fillItems(CLbNCd_item[i],
                  cboGroup_2->currentIndex() < 0 ? QString() : cboGroup_2->currentText().left(2));
}

void TfrmSumTax_mon::fillExtra(ReportSelection& s) const {
    putYearOptions(s, MEdtYear, RBtSot_2, RGrpRefundTy1);
    s.extra.insert(QStringLiteral("group2"),
                   cboGroup_2->currentIndex() < 0 ? QString() : cboGroup_2->currentText().left(2));
    for (int i = 0; i < 14; ++i) {
        s.extra.insert(QStringLiteral("nap%1").arg(listNo(i)), EdtNapCd_nm[i]->text());
        s.extra.insert(QStringLiteral("items%1").arg(listNo(i)), checkedIds(CLbNCd_item[i]));
    }
}

void TfrmSumTax_mon::print() {
    exportBook(MEdtYear->text().trimmed(), YearEndTax::writeMonthly);
}
