#include "reports/P401B00.h"

#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FormRegistry.h"
#include "reports/Refunds.h"
#include "transfers/common/Rounds.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

TFrmP401B00* FrmP401B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P401B00"), QStringLiteral("환불내역 조회/출력"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP401B00(parent); }});

QString dateDigits(const QLineEdit* e) {
    QString t = e->text();
    t.remove(QLatin1Char('-'));
    return t.trimmed();
}

} // namespace

TFrmP401B00::TFrmP401B00(QWidget* parent) : TReportSelectForm(QStringLiteral("refunds"), parent) {
    FrmP401B00 = this;
    // One round, one item: the range, the bank, the quarter and the item list
    // of the other report windows have no part here.
    for (QWidget* w : std::initializer_list<QWidget*>{CLbItem, CbBank, cboBUNGI, MEdtYearMon_2, MEdtSeqNo_2,
                                                      SBtnYearMonSelect_2})
        w->setVisible(false);
    CbItem = new QComboBox(this);
    CbItem->setMinimumWidth(140);
    MEdtReDt = new QLineEdit(this);
    MEdtReDt2 = new QLineEdit(this);
    for (QLineEdit* e : {MEdtReDt, MEdtReDt2}) {
        e->setInputMask(QStringLiteral("0000-00-00;_"));
        e->setMaximumWidth(100);
    }
    extra->addWidget(new QLabel(QStringLiteral("항    목"), this), 0, 0);
    extra->addWidget(CbItem, 0, 1, 1, 3);
    extra->addWidget(new QLabel(QStringLiteral("환불일자"), this), 1, 0);
    extra->addWidget(MEdtReDt, 1, 1);
    extra->addWidget(new QLabel(QStringLiteral("~"), this), 1, 2);
    extra->addWidget(MEdtReDt2, 1, 3);
    connect(cboGroup, &QComboBox::activated, this, [this](int) { cboGroupChangeItems(); });
    connect(MEdtSeqNo, &QLineEdit::textChanged, this, &TFrmP401B00::MEdtSeqNoChange);
    cboGroupChangeItems();

    // The newest round opens the window; without one this month's first.
    const QStringList tables = Rounds::collectionTables();
    if (!tables.isEmpty()) {
        MEdtYearMon->setText(Rounds::yearMonOf(tables.last()));
        MEdtSeqNo->setText(Rounds::seqNoOf(tables.last()));
    } else {
        MEdtYearMon->setText(Clock::today().toString(QStringLiteral("yyyyMM")));
        MEdtSeqNo->setText(QStringLiteral("01"));
    }
    MEdtSeqNoChange();
    grid->setColumnCount(11);
}

TFrmP401B00::~TFrmP401B00() {
    if (FrmP401B00 == this) FrmP401B00 = nullptr;
}

void TFrmP401B00::cboGroupChangeItems() {
    CbItem->clear();
    CbItem->addItem(QString());
    Query q(QStringLiteral("SELECT ItemID, ItemNm FROM C_ITEM WHERE Gcode = ? AND ItemNm <> '' ORDER BY ItemCd"));
    q.add(cboGroup->currentText().left(2));
    if (q.exec())
        while (q.next())
            CbItem->addItem(q.str(0) + QLatin1Char('.') + q.str(1));
    CbItem->setCurrentIndex(0);
}

void TFrmP401B00::MEdtSeqNoChange() {
    bbtnSearch->setEnabled(!MEdtSeqNo->text().trimmed().isEmpty());
}

void TFrmP401B00::fillExtra(ReportSelection& s) const {
    s.extra.insert(QStringLiteral("item"), CbItem->currentText().left(2).trimmed());
    s.extra.insert(QStringLiteral("redt"), dateDigits(MEdtReDt));
    s.extra.insert(QStringLiteral("redt2"), dateDigits(MEdtReDt2));
}

void TFrmP401B00::print() {
    if (listing().source.isEmpty()) return;
    Refunds::printRows(listing().source, listing().gcode).preview(this);
}
