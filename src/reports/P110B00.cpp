#include "reports/P110B00.h"

#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"
#include "reports/Notices.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>

TFrmP110B00* FrmP110B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P110B00"), QStringLiteral("납부고지서"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP110B00(parent); }});

QLineEdit* dateEdit(QWidget* owner) {
    auto* e = new QLineEdit(owner);
    e->setInputMask(QStringLiteral("0000-00-00;_"));
    e->setMaximumWidth(100);
    return e;
}

QString dateDigits(const QLineEdit* e) {
    QString t = e->text();
    t.remove(QLatin1Char('-'));
    return t.trimmed();
}

} // namespace

TFrmP110B00::TFrmP110B00(QWidget* parent) : TReportSelectForm(QStringLiteral("notices"), parent) {
    FrmP110B00 = this;
    // Rounds of every group are offered; there is no bank filter.
    pickOfGroup = false;
    CbBank->setVisible(false);
    cboBUNGI->addItem(QStringLiteral("분기수기입력"));

    EdtYear = new QLineEdit(this);
    Cp949Validator::limit(EdtYear, 4, false);
    EdtYear->setMaximumWidth(60);
    Label1 = new QLabel(QStringLiteral("분기입력"), this);
    EditBun = new QLineEdit(this);
    Cp949Validator::limit(EditBun, 10, false);
    EditBun->setMaximumWidth(60);
    Label14 = new QLabel(QStringLiteral("분기"), this);
    rdoAuto = new QRadioButton(QStringLiteral("자동이체학생"), this);
    rdoCash = new QRadioButton(QStringLiteral("현금이체학생"), this);
    rdoAuto->setChecked(true);
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(rdoAuto);
    kinds->addButton(rdoCash);
    rdoAcctnoYN = new QWidget(this);
    rdoWhole = new QRadioButton(QStringLiteral("전체"), rdoAcctnoYN);
    rdoPart = new QRadioButton(QStringLiteral("일부"), rdoAcctnoYN);
    rdoWhole->setChecked(true);
    auto* acctRow = new QHBoxLayout(rdoAcctnoYN);
    acctRow->setContentsMargins(0, 0, 0, 0);
    acctRow->addWidget(new QLabel(QStringLiteral("계좌번호보기"), rdoAcctnoYN));
    acctRow->addWidget(rdoWhole);
    acctRow->addWidget(rdoPart);
    MedtSLastDate = dateEdit(this);
    MedtELastDate = dateEdit(this);
    Label9 = new QLabel(QStringLiteral("납입은행"), this);
    edtBank = new QLineEdit(this);
    Label12 = new QLabel(QStringLiteral("계좌번호"), this);
    edtAcctNo = new QLineEdit(this);
    edtdesc = new QLineEdit(Notices::kFooter, this);
    Cp949Validator::limit(edtBank, 40, false);
    Cp949Validator::limit(edtAcctNo, 40, false);
    Cp949Validator::limit(edtdesc, 80, false);

    extra->addWidget(new QLabel(QStringLiteral("년      도"), this), 0, 0);
    auto* yearRow = new QHBoxLayout;
    yearRow->addWidget(EdtYear);
    yearRow->addWidget(Label1);
    yearRow->addWidget(EditBun);
    yearRow->addWidget(Label14);
    yearRow->addStretch();
    extra->addLayout(yearRow, 0, 1);
    extra->addWidget(new QLabel(QStringLiteral("이체구분"), this), 1, 0);
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(rdoAuto);
    kindRow->addWidget(rdoCash);
    kindRow->addStretch();
    extra->addLayout(kindRow, 1, 1);
    extra->addWidget(rdoAcctnoYN, 2, 0, 1, 2);
    extra->addWidget(new QLabel(QStringLiteral("납 기 일"), this), 3, 0);
    auto* dates = new QHBoxLayout;
    dates->addWidget(MedtSLastDate);
    dates->addWidget(new QLabel(QStringLiteral("~"), this));
    dates->addWidget(MedtELastDate);
    dates->addStretch();
    extra->addLayout(dates, 3, 1);
    extra->addWidget(Label9, 4, 0);
    extra->addWidget(edtBank, 4, 1);
    extra->addWidget(Label12, 5, 0);
    extra->addWidget(edtAcctNo, 5, 1);
    extra->addWidget(new QLabel(QStringLiteral("하단 문구"), this), 6, 0);
    extra->addWidget(edtdesc, 6, 1);

    for (QWidget* w : std::initializer_list<QWidget*>{Label1, EditBun, Label14})
        w->setVisible(false);
    connect(rdoAuto, &QRadioButton::clicked, this, &TFrmP110B00::RdoShftClsfyClick);
    connect(rdoCash, &QRadioButton::clicked, this, &TFrmP110B00::RdoShftClsfyClick);
    connect(rdoWhole, &QRadioButton::clicked, this, &TFrmP110B00::RdoShftClsfyClick);
    connect(rdoPart, &QRadioButton::clicked, this, &TFrmP110B00::RdoShftClsfyClick);
    RdoShftClsfyClick();
    grid->setColumnCount(4);
    const int widths[] = {60, 90, 90, 90};
    for (int c = 0; c < 4; ++c)
        grid->setColumnWidth(c, widths[c] + 10);
}

TFrmP110B00::~TFrmP110B00() {
    if (FrmP110B00 == this) FrmP110B00 = nullptr;
}

void TFrmP110B00::RdoShftClsfyClick() {
    const bool isCash = rdoCash->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{Label9, edtBank, Label12, edtAcctNo})
        w->setVisible(isCash);
    rdoAcctnoYN->setVisible(!isCash);
    // The kind decides both the rows and the form: a listing of the other
    // kind is not printed.
    const bool listedCash = !listing().source.isEmpty() && listing().source.first().acctNo.isEmpty();
    if (!listing().source.isEmpty() && listedCash != isCash) clearGrid();
}

void TFrmP110B00::fillExtra(ReportSelection& s) const {
    s.extra.insert(QStringLiteral("year"), EdtYear->text());
    // The typed quarter is printed while its edit shows.
    if (EditBun->isVisibleTo(this)) s.extra.insert(QStringLiteral("bun"), EditBun->text());
    s.extra.insert(QStringLiteral("kind"), rdoCash->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    s.extra.insert(QStringLiteral("part"), rdoPart->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    s.extra.insert(QStringLiteral("sdate"), dateDigits(MedtSLastDate));
    s.extra.insert(QStringLiteral("edate"), dateDigits(MedtELastDate));
    s.extra.insert(QStringLiteral("paybank"), edtBank->text());
    s.extra.insert(QStringLiteral("payacct"), edtAcctNo->text());
    s.extra.insert(QStringLiteral("desc"), edtdesc->text());
}

void TFrmP110B00::quarterChanged() {
    const int q = cboBUNGI->currentIndex();
    if (q == 0) return;
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, EditBun, Label14})
        w->setVisible(q == 5);
}

bool TFrmP110B00::roundPicked(const QString&, const QString&) {
    clearGrid();
    return true;
}

void TFrmP110B00::print() {
    if (listing().source.isEmpty()) return;
    Notices::printRows(listing().source, selection()).preview(this);
}
