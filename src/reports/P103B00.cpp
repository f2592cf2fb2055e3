#include "reports/P103B00.h"

#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>

TFrmP103B00* FrmP103B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P103B00"), QStringLiteral("영수증"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP103B00(parent); }});

} // namespace

TFrmP103B00::TFrmP103B00(QWidget* parent) : TReportSelectForm(QStringLiteral("receipts"), parent) {
    FrmP103B00 = this;
    MEdtSetlDt = new QLineEdit(this);
    MEdtSetlDt->setInputMask(QStringLiteral("0000-00-00;_"));
    MEdtSetlDt->setMaximumWidth(100);
    edtHo = new QLineEdit(this);
    edtTotItem = new QLineEdit(this);
    EdtBigo = new QLineEdit(this);
    Cp949Validator::limit(edtHo, 20, false);
    Cp949Validator::limit(edtTotItem, 30, false);
    Cp949Validator::limit(EdtBigo, 12, false);
    rdoAll = new QRadioButton(QStringLiteral("전체"), this);
    rdoAuto = new QRadioButton(QStringLiteral("자동이체"), this);
    rdoCash = new QRadioButton(QStringLiteral("현금수납"), this);
    rdoAll->setChecked(true);
    auto* kinds = new QButtonGroup(this);
    for (QRadioButton* b : {rdoAll, rdoAuto, rdoCash})
        kinds->addButton(b);
    DoubleCheckBox = new QCheckBox(QStringLiteral("건당 2부 출력 (학교,학부모보관용)"), this);
    extra->addWidget(new QLabel(QStringLiteral("이체일자"), this), 0, 0);
    extra->addWidget(MEdtSetlDt, 0, 1);
    extra->addWidget(new QLabel(QStringLiteral("제    호"), this), 1, 0);
    extra->addWidget(edtHo, 1, 1);
    extra->addWidget(new QLabel(QStringLiteral("항    목"), this), 2, 0);
    extra->addWidget(edtTotItem, 2, 1);
    extra->addWidget(new QLabel(QStringLiteral("비    고"), this), 3, 0);
    extra->addWidget(EdtBigo, 3, 1);
    auto* radios = new QHBoxLayout;
    radios->addWidget(new QLabel(QStringLiteral("이체구분"), this));
    for (QRadioButton* b : {rdoAll, rdoAuto, rdoCash})
        radios->addWidget(b);
    extra->addLayout(radios, 4, 0, 1, 2);
    extra->addWidget(DoubleCheckBox, 5, 0, 1, 2);
    grid->setColumnCount(7);
    const int widths[] = {60, 90, 90, 90, 80, 65, 110};
    for (int c = 0; c < 7; ++c)
        grid->setColumnWidth(c, widths[c] + 10);
}

TFrmP103B00::~TFrmP103B00() {
    if (FrmP103B00 == this) FrmP103B00 = nullptr;
}

void TFrmP103B00::fillExtra(ReportSelection& s) const {
    QString d = MEdtSetlDt->text();
    d.remove(QLatin1Char('-'));
    s.extra.insert(QStringLiteral("date"), d.trimmed());
    s.extra.insert(QStringLiteral("kind"), rdoAuto->isChecked()   ? QStringLiteral("1")
                                           : rdoCash->isChecked() ? QStringLiteral("2")
                                                                  : QStringLiteral("0"));
    s.extra.insert(QStringLiteral("ho"), edtHo->text());
    s.extra.insert(QStringLiteral("totitem"), edtTotItem->text());
    s.extra.insert(QStringLiteral("bigo"), EdtBigo->text());
    s.extra.insert(QStringLiteral("double"), DoubleCheckBox->isChecked() ? QStringLiteral("1") : QString());
}

void TFrmP103B00::quarterChanged() {
    MEdtSetlDt->clear();
}
