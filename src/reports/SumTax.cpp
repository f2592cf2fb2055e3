#include "reports/SumTax.h"

#include "data/DMModule.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/FormRegistry.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

TfrmSumTax* frmSumTax = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("SumTax"), QStringLiteral("연말정산자료생성(분기별)"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TfrmSumTax(parent); }});

QLineEdit* codeEdit(QWidget* parent, const QString& name, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    Cp949Validator::limit(e, 10);
    e->setMaximumWidth(90);
    return e;
}

} // namespace

TfrmSumTax::TfrmSumTax(QWidget* parent) : TYearEndForm(QStringLiteral("sumtax"), parent) {
    frmSumTax = this;
    setObjectName(QStringLiteral("TfrmSumTax"));
    precheck = YearEndTax::checkQuarterly;
    bbtnPrint->setText(QStringLiteral("파일생성"));
    const int year = Clock::today().year();

    auto* row1 = new QHBoxLayout;
    auto* yearBox = new QGroupBox(QStringLiteral("1.회계년도 설정 (이체,수납일 기준)"), this);
    auto* yl = new QHBoxLayout(yearBox);
    MEdtYear = new QLineEdit(QString::number(year), yearBox);
    MEdtYear->setObjectName(QStringLiteral("MEdtYear"));
    Cp949Validator::limit(MEdtYear, 4, true);
    MEdtYear->setMaximumWidth(60);
    yl->addWidget(MEdtYear);
    row1->addWidget(yearBox);

    auto* qBox = new QGroupBox(QStringLiteral("2. 차수 코드 설정"), this);
    auto* ql = new QGridLayout(qBox);
    ql->addWidget(new QLabel(QStringLiteral("차수코드"), qBox), 0, 1);
    for (int k = 0; k < 4; ++k) {
        const QString n = QString::number(k + 1);
        EdtS_nm[k] = codeEdit(qBox, QStringLiteral("EdtS%1_nm").arg(n), YearEndTax::kQuarterCodes.at(k));
        DTP_s[k] = dateEdit(qBox, QStringLiteral("DTP_s%1_s").arg(n));
        DTP_e[k] = dateEdit(qBox, QStringLiteral("DTP_s%1_e").arg(n));
        const int r = k + 1;
        ql->addWidget(new QLabel(n + QStringLiteral("분기"), qBox), r, 0);
        ql->addWidget(EdtS_nm[k], r, 1);
        ql->addWidget(DTP_s[k], r, 2);
        ql->addWidget(new QLabel(QStringLiteral("~"), qBox), r, 3);
        ql->addWidget(DTP_e[k], r, 4);
    }
    row1->addWidget(qBox);

    auto* rangeBox = new QGroupBox(QStringLiteral("3. 조회 범위 설정"), this);
    auto* rl = new QGridLayout(rangeBox);
    auto* sno = new QHBoxLayout;
    for (QLineEdit* e : {SHakFromEdit, SBanFromEdit, SBunFromEdit})
        sno->addWidget(e);
    sno->addWidget(new QLabel(QStringLiteral("~"), rangeBox));
    for (QLineEdit* e : {SHakToEdit, SBanToEdit, SBunToEdit})
        sno->addWidget(e);
    rl->addWidget(new QLabel(QStringLiteral("학번범위"), rangeBox), 0, 0);
    rl->addLayout(sno, 0, 1);
    RBtSot_1 = new QRadioButton(QStringLiteral("학생정보"), rangeBox);
    RBtSot_2 = new QRadioButton(QStringLiteral("이체정보"), rangeBox);
    RBtSot_1->setChecked(true);
    auto* sort = new QHBoxLayout;
    sort->addWidget(RBtSot_1);
    sort->addWidget(RBtSot_2);
    rl->addWidget(new QLabel(QStringLiteral("정렬기준"), rangeBox), 1, 0);
    rl->addLayout(sort, 1, 1);
    row1->addWidget(rangeBox);

    auto* optBox = new QGroupBox(QStringLiteral("4. 조회 옵션"), this);
    optBox->setObjectName(QStringLiteral("RGrpRefundTy"));
    auto* ol = new QVBoxLayout(optBox);
    RGrpRefundTy0 = new QRadioButton(QStringLiteral("환불금 적용"), optBox);
    RGrpRefundTy1 = new QRadioButton(QStringLiteral("환불금 미적용"), optBox);
    RGrpRefundTy0->setChecked(true);
    ol->addWidget(RGrpRefundTy0);
    ol->addWidget(RGrpRefundTy1);
    row1->addWidget(optBox);
    row1->addStretch();
    panel->addLayout(row1);

    auto* napBox = new QGroupBox(QStringLiteral("5. 납입금코드 설정"), this);
    auto* nl = new QHBoxLayout(napBox);
    auto* gl = new QVBoxLayout;
    gl->addWidget(new QLabel(QStringLiteral("항목그룹"), napBox));
    gl->addWidget(cboGroup);
    gl->addStretch();
    nl->addLayout(gl);
    const QStringList names{QStringLiteral("입학금"), QStringLiteral("수업료"),
                            QStringLiteral("학교운영지원비")};
    for (int n = 0; n < 3; ++n) {
        const QString i = QString::number(n + 1);
        auto* box = new QGroupBox(names.at(n), napBox);
        auto* bl = new QGridLayout(box);
        EdtNapCd_nm[n] = codeEdit(box, QStringLiteral("EdtNapCd%1_nm").arg(i), QString::number(101 + n));
        CLbNCd_item[n] = itemList(box, QStringLiteral("CLbNCd%1_item").arg(i));
        BBtnCheckAll[n] = new QPushButton(QStringLiteral("All"), box);
        BBtnCheckAll[n]->setObjectName(QStringLiteral("BBtnCheckAll_%1").arg(i));
        bl->addWidget(new QLabel(QStringLiteral("납입금코드"), box), 0, 0);
        bl->addWidget(EdtNapCd_nm[n], 0, 1);
        bl->addWidget(new QLabel(QStringLiteral("항  목"), box), 1, 0);
        bl->addWidget(CLbNCd_item[n], 1, 1, 2, 1);
        bl->addWidget(BBtnCheckAll[n], 2, 0);
        nl->addWidget(box);
    }
    nl->addStretch();
    panel->addWidget(napBox);

    exclusiveLists({CLbNCd_item[0], CLbNCd_item[1], CLbNCd_item[2]},
                   {BBtnCheckAll[0], BBtnCheckAll[1], BBtnCheckAll[2]});
    connect(cboGroup, &QComboBox::activated, this, [this](int) { cboGroupChangeLists(); });
    connect(MEdtYear, &QLineEdit::textChanged, this, &TfrmSumTax::MEdtYearChange);
    MEdtYearChange();
    cboGroupChangeLists();
    setColumns({QStringLiteral("학번"), QStringLiteral("이름"), QStringLiteral("항목명"),
                QStringLiteral("금액"), QStringLiteral("수납일"), QStringLiteral("납입금코드"),
                QStringLiteral("차수코드"), QStringLiteral("학생주민번호")},
               {60, 90, 90, 90, 90, 70, 70, 90});
}

TfrmSumTax::~TfrmSumTax() {
    if (frmSumTax == this) frmSumTax = nullptr;
}

void TfrmSumTax::MEdtYearChange() {
    const QString t = MEdtYear->text();
    if (t.size() != 4) return;
    for (int k = 0; k < 4; ++k) {
        DTP_s[k]->setDate(YearEndTax::quarterStart(t.toInt(), k + 1));
        DTP_e[k]->setDate(YearEndTax::quarterEnd(t.toInt(), k + 1));
    }
}

void TfrmSumTax::cboGroupChangeLists() {
    for (QListWidget* l : CLbNCd_item)
        fillItems(l, cboGroup->currentText().left(2));
}

void TfrmSumTax::fillExtra(ReportSelection& s) const {
    putYearOptions(s, MEdtYear, RBtSot_2, RGrpRefundTy1);
    for (int k = 0; k < 4; ++k) {
        const QString n = QString::number(k + 1);
        s.extra.insert(QLatin1Char('q') + n, EdtS_nm[k]->text());
        s.extra.insert(QLatin1Char('q') + n + QLatin1Char('s'), dateDigits(DTP_s[k]));
        s.extra.insert(QLatin1Char('q') + n + QLatin1Char('e'), dateDigits(DTP_e[k]));
    }
    for (int n = 0; n < 3; ++n) {
        s.extra.insert(QStringLiteral("nap%1").arg(n + 1), EdtNapCd_nm[n]->text());
        s.extra.insert(QStringLiteral("items%1").arg(n + 1), checkedIds(CLbNCd_item[n]));
    }
}

void TfrmSumTax::print() {
    exportBook(MEdtYear->text().trimmed(), YearEndTax::writeQuarterly);
}
