#include "reports/ReceiptSum.h"

#include "data/DMMain.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"
#include "reports/ReceiptSums.h"

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

TfrmReceiptSum* frmReceiptSum = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{
    QStringLiteral("ReceiptSum"), QStringLiteral("영수증(Sum)"), FormEntry::Mode::WorkWindow,
    [](QWidget* parent) -> QWidget* { return new TfrmReceiptSum(parent); }});

} // namespace

TfrmReceiptSum::TfrmReceiptSum(QWidget* parent) : TYearEndForm(QStringLiteral("receipt-sum"), parent) {
    frmReceiptSum = this;
    setObjectName(QStringLiteral("TfrmReceiptSum"));
    precheck = [](const ReportSelection& s) -> std::optional<YearEndTax::Refusal> {
        if (const std::optional<ReportBox> b = ReportSelect::checkStudents(s))
            return YearEndTax::Refusal{*b, QStringLiteral("SHakFromEdit")};
        return std::nullopt;
    };
    const int last = Clock::today().year() - 1;

    auto* row = new QHBoxLayout;
    auto* sel = new QGroupBox(QStringLiteral("조회조건"), this);
    auto* sl = new QGridLayout(sel);
    DTP_sdt = dateEdit(sel, QStringLiteral("DTP_sdt"));
    DTP_edt = dateEdit(sel, QStringLiteral("DTP_edt"));
    DTP_sdt->setDate(QDate(last, 1, 1));
    DTP_edt->setDate(QDate(last, 12, 31));
    auto* dates = new QHBoxLayout;
    dates->addWidget(DTP_sdt);
    dates->addWidget(new QLabel(QStringLiteral("~"), sel));
    dates->addWidget(DTP_edt);
    dates->addStretch();
    sl->addWidget(new QLabel(QStringLiteral("수납일"), sel), 0, 0);
    sl->addLayout(dates, 0, 1);
    auto* sno = new QHBoxLayout;
    for (QLineEdit* e : {SHakFromEdit, SBanFromEdit, SBunFromEdit})
        sno->addWidget(e);
    sno->addWidget(new QLabel(QStringLiteral("~"), sel));
    for (QLineEdit* e : {SHakToEdit, SBanToEdit, SBunToEdit})
        sno->addWidget(e);
    sno->addStretch();
    sl->addWidget(new QLabel(QStringLiteral("학 번"), sel), 1, 0);
    sl->addLayout(sno, 1, 1);
    sl->addWidget(new QLabel(QStringLiteral("은 행"), sel), 2, 0);
    sl->addWidget(CbBank, 2, 1);
    auto* kinds = new QHBoxLayout;
    const QStringList kindNames{QStringLiteral("전체"), QStringLiteral("자동이체"),
                                QStringLiteral("현금수납")};
    for (int i = 0; i < 3; ++i) {
        RdoShftClsfy[i] = new QRadioButton(kindNames.at(i), sel);
        kinds->addWidget(RdoShftClsfy[i]);
    }
    RdoShftClsfy[0]->setChecked(true);
    sl->addWidget(new QLabel(QStringLiteral("이체구분"), sel), 3, 0);
    sl->addLayout(kinds, 3, 1);
    row->addWidget(sel);

    auto* texts = new QGroupBox(QStringLiteral("영수증"), this);
    auto* tl = new QGridLayout(texts);
    edtHo = new QLineEdit(texts);
    edtTotItem = new QLineEdit(texts);
    EdtBigo = new QLineEdit(texts);
    edtHo->setObjectName(QStringLiteral("edtHo"));
    edtTotItem->setObjectName(QStringLiteral("edtTotItem"));
    EdtBigo->setObjectName(QStringLiteral("EdtBigo"));
    Cp949Validator::limit(edtHo, 20);
    Cp949Validator::limit(edtTotItem, 30);
    Cp949Validator::limit(EdtBigo, 20);
    tl->addWidget(new QLabel(QStringLiteral("제    호"), texts), 0, 0);
    tl->addWidget(edtHo, 0, 1);
    tl->addWidget(new QLabel(QStringLiteral("항    목"), texts), 1, 0);
    tl->addWidget(edtTotItem, 1, 1);
    tl->addWidget(new QLabel(QStringLiteral("비    고"), texts), 2, 0);
    tl->addWidget(EdtBigo, 2, 1);
    row->addWidget(texts);

    const auto groupBox = [this](const QString& title, const QString& listTitle, QComboBox* combo,
                                 QListWidget** list, QPushButton** all, const QString& suffix) {
        auto* box = new QGroupBox(title, this);
        auto* bl = new QGridLayout(box);
        *list = itemList(box, QStringLiteral("CLbNCd_item") + suffix);
        *all = new QPushButton(QStringLiteral("All"), box);
        (*all)->setObjectName(QStringLiteral("BBtnCheckAll") + suffix);
        bl->addWidget(new QLabel(QStringLiteral("항목그룹"), box), 0, 0);
        bl->addWidget(combo, 0, 1);
        bl->addWidget(new QLabel(listTitle, box), 1, 0);
        bl->addWidget(*list, 1, 1, 2, 1);
        bl->addWidget(*all, 2, 0);
        return box;
    };
    cboGroup_2 = new QComboBox(this);
    cboGroup_2->setObjectName(QStringLiteral("cboGroup_2"));
    row->addWidget(groupBox(QStringLiteral("항목그룹 1"), QStringLiteral("대상항목 1"), cboGroup,
                            &CLbNCd_item, &BBtnCheckAll, QString()));
    row->addWidget(groupBox(QStringLiteral("항목그룹 2"), QStringLiteral("대상항목 2"), cboGroup_2,
                            &CLbNCd_item_2, &BBtnCheckAll_2, QStringLiteral("_2")));
    row->addStretch();
    panel->addLayout(row);

    bbtnSearch->setObjectName(QStringLiteral("bbtnShftDateView"));
    bbtnPrint->setObjectName(QStringLiteral("BbtnPrint"));
    ownToggle(CLbNCd_item, BBtnCheckAll);
    ownToggle(CLbNCd_item_2, BBtnCheckAll_2);
    if (DMData) DMData->FillGroupCombo(cboGroup_2, QStringLiteral("00"));
    cboGroup_2->setCurrentIndex(cboGroup_2->count() > 1 ? 1 : -1);
    // The bank list was made from the first group when the window opened
    // and stays as it is when a group changes.
    connect(cboGroup, &QComboBox::activated, this,
            [this](int) { fillItems(CLbNCd_item, cboGroup->currentText().left(2)); });
    connect(cboGroup_2, &QComboBox::activated, this,
            [this](int) { fillItems(CLbNCd_item_2, cboGroup_2->currentText().left(2)); });
    fillItems(CLbNCd_item, cboGroup->currentText().left(2));
    fillItems(CLbNCd_item_2, cboGroup_2->currentIndex() < 0 ? QString() : cboGroup_2->currentText().left(2));
    setColumns({QStringLiteral("학번"), QStringLiteral("성명"), QStringLiteral("항목"),
                QStringLiteral("금액"), QStringLiteral("이체일자"), QStringLiteral("은행"),
                QStringLiteral("계좌번호")},
               {60, 90, 90, 90, 80, 65, 110});
}

TfrmReceiptSum::~TfrmReceiptSum() {
    if (frmReceiptSum == this) frmReceiptSum = nullptr;
}

void TfrmReceiptSum::fillExtra(ReportSelection& s) const {
    s.itemIds = checkedIds(CLbNCd_item).split(QLatin1Char(','), Qt::SkipEmptyParts);
    s.extra.insert(QStringLiteral("group2"),
                   cboGroup_2->currentIndex() < 0 ? QString() : cboGroup_2->currentText().left(2));
    s.extra.insert(QStringLiteral("items2"), checkedIds(CLbNCd_item_2));
    s.extra.insert(QStringLiteral("sdt"), dateDigits(DTP_sdt));
    s.extra.insert(QStringLiteral("edt"), dateDigits(DTP_edt));
    s.extra.insert(QStringLiteral("kind"), RdoShftClsfy[1]->isChecked()   ? QStringLiteral("1")
                                           : RdoShftClsfy[2]->isChecked() ? QStringLiteral("2")
                                                                          : QStringLiteral("0"));
    s.extra.insert(QStringLiteral("ho"), edtHo->text());
    s.extra.insert(QStringLiteral("totitem"), edtTotItem->text());
    s.extra.insert(QStringLiteral("bigo"), EdtBigo->text());
}

void TfrmReceiptSum::print() {
    if (listing().source.isEmpty()) return;
    ReceiptSums::printRows(listing().source, selection()).preview(this);
}
