// The collection window's row edits: its handlers hand the current row to
// RowEditFlow and show the row dialogs it asks for.
#include "data/DMMain.h"
#include "platform/ui/Modal.h"
#include "transfers/collection/DelFile.h"
#include "transfers/collection/M101B00.h"
#include "transfers/collection/M101B00_01.h"
#include "transfers/collection/M101B03.h"
#include "transfers/collection/M101B06.h"
#include "transfers/collection/M101B09.h"
#include "transfers/collection/M101B10.h"
#include "transfers/collection/M101B11.h"
#include "transfers/collection/M101B12.h"
#include "transfers/collection/RowEditFlow.h"
#include "transfers/common/KeyEdit.h"

#include <QComboBox>
#include <QListWidget>

namespace {

// "ItemID.ItemNm" of the row's own group.
QString itemLine(const RowEdit::Row& row) {
    return row.itemCd + QLatin1Char('.') + DMData->GetGItemName(row.itemCd, row.gcode);
}

} // namespace

RowEdit::Round TFrmM101B00::editRound() const {
    return RowEdit::Round{yearMon(), seqNo(), cboGroup->currentText()};
}

RowEditFlow::Dialogs TFrmM101B00::rowDialogs() {
    RowEditFlow::Dialogs d;
    d.delFile = [this](const QStringList& files) {
        TfrmDelFile dlg(yearMon(), seqNo(), this);
        dlg.lbFile->addItems(files);
        return Modal::exec(&dlg) == QDialog::Accepted;
    };
    d.amount = [this](const RowEdit::Row& row) -> std::optional<QString> {
        TFrmM101B11 dlg(this);
        dlg.edtItem->setText(itemLine(row));
        dlg.MEdtSchNo->setText(row.sno);
        if (Modal::exec(&dlg) != QDialog::Accepted) return std::nullopt;
        return dlg.EdtAmt->text();
    };
    d.unpaid = [this](const RowEdit::Row& row) -> std::optional<QString> {
        TFrmM101B12 dlg(this);
        dlg.edtItem->setText(itemLine(row));
        dlg.MEdtSchNo->setText(row.sno);
        if (Modal::exec(&dlg) != QDialog::Accepted) return std::nullopt;
        return dlg.EdtUnPaid->text();
    };
    d.bigo = [this]() -> std::optional<QString> {
        TFrmM101B00_01 dlg(this);
        if (Modal::exec(&dlg) != QDialog::Accepted) return std::nullopt;
        return dlg.BigoEdit->text();
    };
    d.account = [this](const RowEdit::Row& row) -> std::optional<RowEditFlow::AccountInput> {
        TFrmM101B09 dlg(this);
        dlg.MEdtSchNo->setText(row.sno);
        dlg.selectBank(row.bankCd);
        if (Modal::exec(&dlg) != QDialog::Accepted) return std::nullopt;
        return RowEditFlow::AccountInput{dlg.cbBank->currentText(), dlg.MEdtAcctNo->text()};
    };
    d.status = [this](const RowEdit::Row& row) -> std::optional<RowEdit::StatusChange> {
        TFrmM101B06 dlg(this);
        dlg.pSetReplyTy(row.replyTy, row.amt);
        if (Modal::exec(&dlg) != QDialog::Accepted) return std::nullopt;
        return dlg.values();
    };
    d.bulk = [this](const RowEdit::Row& row) -> std::optional<RowEditFlow::BulkInput> {
        TFrmM101B03 dlg(this);
        QStringList items, ticked, groups, tickedGroups;
        for (int i = 0; i < CLbItem->count(); ++i) {
            items << CLbItem->item(i)->text();
            if (CLbItem->item(i)->checkState() == Qt::Checked) ticked << CLbItem->item(i)->text();
        }
        for (int i = 0; i < ChkLstGrp->count(); ++i) {
            groups << ChkLstGrp->item(i)->text();
            if (ChkLstGrp->item(i)->checkState() == Qt::Checked) tickedGroups << ChkLstGrp->item(i)->text();
        }
        TFrmM101B03::fillChoices(dlg.CbItem, items, ticked);
        TFrmM101B03::fillChoices(dlg.cboGroup, groups, tickedGroups);
        dlg.setSNo(row.sno);
        if (Modal::exec(&dlg) != QDialog::Accepted) return std::nullopt;
        return dlg.values();
    };
    return d;
}

void TFrmM101B00::afterEdit(const RowEditFlow::After& a, int row, int col) {
    if (a.kind == RowEditFlow::After::SetCell) {
        QList<QStringList> rows = SGrdPay->payModel()->rows();
        if (row < rows.size()) {
            rows[row][a.col] = a.text;
            SGrdPay->payModel()->setRows(rows);
            SGrdPay->setCurrentIndex(SGrdPay->model()->index(row, col));
        }
        return;
    }
    if (a.kind != RowEditFlow::After::Relist) return;
    pDispPay();
    if (row < SGrdPay->dataRowCount() && !SGrdPay->cell(row, ColSNo).isEmpty())
        SGrdPay->setCurrentIndex(SGrdPay->model()->index(row, col));
}

void TFrmM101B00::BBtnAmtUpdtClick() {
    const int row = SGrdPay->currentDataRow();
    const int col = std::max(0, SGrdPay->currentIndex().column());
    const RowEdit::Row r = RowEdit::fromCells(SGrdPay->payModel()->rows().value(row));
    if (r.sno.isEmpty()) return;
    afterEdit(RowEditFlow::bulkAmount(editRound(), r, rowDialogs(), this), row, col);
}

void TFrmM101B00::bbtnSuNapClick() {
    const int row = SGrdPay->currentDataRow();
    const int col = std::max(0, SGrdPay->currentIndex().column());
    const RowEdit::Row r = RowEdit::fromCells(SGrdPay->payModel()->rows().value(row));
    afterEdit(RowEditFlow::changeStatus(editRound(), r, rowDialogs(), this), row, col);
}

void TFrmM101B00::SGrdPayDblClick(int col) {
    const int row = SGrdPay->currentDataRow();
    const RowEdit::Row r = RowEdit::fromCells(SGrdPay->payModel()->rows().value(row));
    afterEdit(RowEditFlow::dblClick(editRound(), r, col, rowDialogs(), this), row, col);
}

void TFrmM101B00::BBtnSearchClick() {
    TFrmM101B10 dlg([this] { return SGrdPay->payModel()->rows(); },
                    [this](int row) { SGrdPay->setCurrentDataRow(row); }, this);
    for (int i = 0; i < CLbItem->count(); ++i)
        dlg.cboItem->addItem(CLbItem->item(i)->text());
    dlg.cboItem->setCurrentIndex(-1);
    Modal::exec(&dlg);
}
