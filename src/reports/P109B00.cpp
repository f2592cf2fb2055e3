#include "reports/P109B00.h"

#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"
#include "reports/Unpaid.h"
#include "transfers/common/Rounds.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

TFrmP109B00* FrmP109B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P109B00"), QStringLiteral("미납명세서"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP109B00(parent); }});

} // namespace

TFrmP109B00::TFrmP109B00(QWidget* parent) : TReportSelectForm(QStringLiteral("unpaid"), parent) {
    FrmP109B00 = this;
    CbBank->setVisible(false); // no bank filter
    MEdtSetlDt = new QLineEdit(this);
    MEdtSetlDt->setInputMask(QStringLiteral("0000-00-00;_"));
    MEdtSetlDt->setMaximumWidth(100);
    edtdesc = new QLineEdit(Unpaid::kFooter, this);
    edtdesc2 = new QLineEdit(Unpaid::kFooter, this);
    Cp949Validator::limit(edtdesc, 80, false);
    Cp949Validator::limit(edtdesc2, 80, false);
    extra->addWidget(new QLabel(QStringLiteral("입금기한"), this), 0, 0);
    extra->addWidget(MEdtSetlDt, 0, 1);
    extra->addWidget(new QLabel(QStringLiteral("현금수납 하단 문구"), this), 1, 0);
    extra->addWidget(edtdesc, 1, 1);
    extra->addWidget(new QLabel(QStringLiteral("자동이체 하단 문구"), this), 2, 0);
    extra->addWidget(edtdesc2, 2, 1);
    connect(cboGroup, &QComboBox::activated, this, [this](int) { cboGroupChangeRounds(); });
    grid->setColumnCount(4);
    const int widths[] = {60, 90, 90, 90};
    for (int c = 0; c < 4; ++c)
        grid->setColumnWidth(c, widths[c] + 10);
}

TFrmP109B00::~TFrmP109B00() {
    if (FrmP109B00 == this) FrmP109B00 = nullptr;
}

void TFrmP109B00::cboGroupChangeRounds() {
    MEdtYearMon->clear();
    MEdtSeqNo->clear();
    clearGrid();
}

void TFrmP109B00::fillExtra(ReportSelection& s) const {
    QString d = MEdtSetlDt->text();
    d.remove(QLatin1Char('-'));
    s.extra.insert(QStringLiteral("deadline"), d.trimmed());
    s.extra.insert(QStringLiteral("desc"), edtdesc->text());
    s.extra.insert(QStringLiteral("desc2"), edtdesc2->text());
}

void TFrmP109B00::quarterChanged() {
    MEdtSetlDt->clear();
}

bool TFrmP109B00::roundPicked(const QString& yearMon, const QString& seqNo) {
    if (Unpaid::roundOfGroup(Rounds::tableName(yearMon, seqNo), cboGroup->currentText().left(2))) return true;
    Rounds::plainBox(QStringLiteral("선택하신 회차와 그룹이 틀립니다. 다시선택하세요"));
    return false;
}

void TFrmP109B00::print() {
    if (listing().source.isEmpty()) return;
    Unpaid::printRows(listing().source, selection()).preview(this);
}
