// The collection window's outputs: the list print, the receipt and the
// quarter filter.

#include "transfers/collection/M101B00.h"

#include "platform/sys/Clock.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "students/F201B03_02.h"
#include "transfers/common/Rounds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

CollectionPrint::ListOptions TFrmM101B00::listOptions() const {
    CollectionPrint::ListOptions o;
    o.group = cboGroup->currentText();
    o.gcode = groupCode();
    o.yearMon = yearMon();
    o.seqNo = seqNo();
    for (QLabel* p : {PnlProcCnt, PnlProcAmt, PnlNonProcCnt, PnlNonProcAmt, PnlExempCnt, PnlExempAmt,
                      PnlReCnt, PnlReAmt, PnlReCnt2, PnlReAmt2})
        o.totals << p->text();
    return o;
}

CollectionPrint::Receipt TFrmM101B00::receipt(int row) const {
    CollectionPrint::Receipt r;
    r.sNo = SGrdPay->cell(row, ColSNo);
    r.nm = SGrdPay->cell(row, ColNm);
    r.acctNo = SGrdPay->cell(row, ColAcct);
    r.amount = SGrdPay->cell(row, ColAmt);
    r.item = SGrdPay->cell(row, ColItem);
    r.date = SGrdPay->cell(row, ColDate);
    return r;
}

// The rows printed are those of the last listing: its statement runs again
// with its bound values, whatever the controls show now.
void TFrmM101B00::BBtnPreviewClick() {
    if (SGrdPay->cell(0, ColSNo).trimmed().isEmpty() || FListSql.isEmpty()) {
        Msg::show(QCoreApplication::applicationName(), QStringLiteral("인쇄할 내용이 없습니다."));
        return;
    }
    TFrmF201B03_02 dlg(this);
    if (Modal::exec(&dlg) != 1) return;
    CollectionPrint::ListOptions o = listOptions();
    o.portrait = dlg.pVertical->isChecked();
    o.whole = dlg.rdobtn1->isChecked();
    o.fieldSelCode = dlg.FieldSelCode();
    QString error;
    const ReportRows rows = CollectionPrint::listRows(FListSql, FListBinds, &error);
    if (!error.isEmpty()) {
        Msg::error(QStringLiteral("오류"), error, this);
        return;
    }
    const auto report = CollectionPrint::makeList(o, rows);
    if (report) report->PreviewModal(this);
}

void TFrmM101B00::cmdReceiptClick() {
    const int row = SGrdPay->currentDataRow();
    if (row < 0 || SGrdPay->cell(row, ColSNo).isEmpty()) return;
    if (!CollectionPrint::receiptAllowed(SGrdPay->cell(row, ColAmt), SGrdPay->cell(row, ColReply))) {
        Msg::show(QCoreApplication::applicationName(), QStringLiteral("영수증 발행 대상건이 아닙니다."));
        return;
    }
    cmdReceipt->setEnabled(false);
    DoubleCheckBox->setEnabled(false);
    const auto report = CollectionPrint::makeReceipt(receipt(row), DoubleCheckBox->isChecked());
    report->PreviewModal(this);
    cmdReceipt->setEnabled(true);
    DoubleCheckBox->setEnabled(true);
}

void TFrmM101B00::cboBUNGIChange() {
    const QString mask = cboBUNGI->currentText().trimmed().isEmpty()
                             ? QStringLiteral("H_200_*.db")
                             : Rounds::sBunCalcR(cboBUNGI->currentIndex(), Clock::today());
    FLbHProcMask.clear();
    for (QString p : mask.split(QLatin1Char(';'))) {
        p.chop(3); // ".db"
        FLbHProcMask << p;
    }
    pReadRoundTables();
}
