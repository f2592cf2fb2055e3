// The collection window's outputs: the list print, the receipt, the
// workbook, the SMS recipients and the quarter filter.

#include "transfers/collection/M101B00.h"

#include "data/DMModule.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "shared/F201B03_02.h"
#include "transfers/collection/CollectionExport.h"
#include "transfers/common/CollectionRound.h"
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
    FLbHProcMask = CollectionRound::quarterMasks(
        cboBUNGI->currentText().trimmed().isEmpty() ? 0 : cboBUNGI->currentIndex(), Clock::today());
    pReadRoundTables();
}

void TFrmM101B00::BBtnExcelSaveClick() {
    if (SGrdPay->cell(0, ColSNo).isEmpty()) {
        Msg::error(QStringLiteral("엑셀저장실패"), QStringLiteral("조회된 자료가 없습니다!"), this);
        return;
    }
    FileDialogSpec spec;
    spec.mode = FileDialogSpec::Mode::Save;
    spec.title = QStringLiteral("집금자료를 엑셀화일로 만들기");
    spec.filter = QStringLiteral("엑셀화일|*.xlsx|모든화일|*.*");
    spec.defaultSuffix = QStringLiteral("xlsx");
    spec.fileName = QString::fromUtf16(CollectionExport::kFileName);
    spec.folder = DMLib ? DMLib->FDataDir : QString();
    const std::optional<QString> path = FileDialog::pick(spec, this);
    if (!path) return;
    QString error;
    // A file that cannot be written leaves the window as it was.
    if (!CollectionExport::write(SGrdPay->payModel()->rows(), *path, &error)) {
        Msg::error(QStringLiteral("엑셀저장실패"), error, this);
        return;
    }
    Msg::info(QStringLiteral("화일생성"), QStringLiteral("엑셀화일을 생성하였습니다!"), this);
}

void TFrmM101B00::BBtnSMSClick() {
    const QString none = QStringLiteral("문자메세지 발송대상이 없습니다.!!");
    const auto say = [&] {
        Msg::show(QCoreApplication::applicationName(), none, MsgIcon::None, MsgButtons::Ok, this);
    };
    if (SGrdPay->cell(0, ColSNo).isEmpty()) return say();
    if (!SmsHandOver::compose(CollectionExport::smsRecipients(SGrdPay->payModel()->rows()), this)) say();
}
