#pragma once
#include "transfers/common/BatFile.h"
#include "transfers/distribution/DistribList.h"
#include "transfers/distribution/DistribRound.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QTableView>
#include <QWidget>

#include <functional>

class QButtonGroup;
class QComboBox;
class QDialog;
class QLabel;
class QListWidget;
class QPushButton;
class TKeyEdit;

// Columns of the distribution grid.
namespace DistCol {
enum : int { SNo, Nm, Bank, Acct, Amt, Exemp, Reply, Date, Item, Mark, Count };
}

// The round rows of the distribution grid, DistCol::Count cells each; the
// grid always holds at least one (empty) data row. Row 0 here is the first
// data row.
class TDistGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex& = {}) const override { return int(rows_.size()); }
    int columnCount(const QModelIndex& = {}) const override { return DistCol::Count; }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    void setRows(QList<QStringList> rows);
    const QList<QStringList>& rows() const { return rows_; }
    QString cell(int row, int col) const;
    void setCell(int row, int col, const QString& v);

private:
    QList<QStringList> rows_{QStringList(DistCol::Count)};
};

// SGrdPay: Enter moves one row down; a double click or the space key on the
// amount edits it, on "선택" toggles the mark.
class TDistGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDistGrid(QWidget* parent = nullptr);
    TDistGridModel* payModel() const { return model_; }
    int dataRowCount() const { return model_->rowCount(); }
    QString cell(int row, int col) const { return model_->cell(row, col); }
    int currentDataRow() const;
    void setCurrentDataRow(int row);
    std::function<void(int row, int col)> onAct; // double click or space

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    TDistGridModel* model_;
};

// "배분이체자료작성": the work window of distribution rounds.
//
// Its dialogs of amounts, dates, find, result files and its prints are
// reached by unit name through the form registry ("M102B03", "M102B04",
// "M102B08", "M102B09", "M102B10", "M102P00", "M102P01"); a button whose
// unit is not registered stands disabled. The window fills and reads such a
// dialog through the properties it declares: "items", "itemText",
// "snoPrefix", "amountText" (bulk amount); "accounts", "startDate",
// "endDate", "acctLine" (dates); "sno", "amountText" (one amount);
// "bankText", "groupText", "yearMon", "seqNo" (result file). The find
// dialog moves the grid named "SGrdPay"; a print reads the last listing's
// conditions and the four panel texts from this window's properties
// (DistribPrint::requestFrom).
class TFrmM102B00 : public QWidget {
    Q_OBJECT
public:
    explicit TFrmM102B00(QWidget* parent = nullptr);
    ~TFrmM102B00() override;

    QComboBox* cboGroup = nullptr;
    QComboBox* CbBank = nullptr;
    TKeyEdit* MEdtYearMon = nullptr;
    QPushButton* SBtnYearMonSelect = nullptr;
    TKeyEdit* MEdtSeqNo = nullptr;
    TKeyEdit* MEdtNo = nullptr;
    TKeyEdit* MEdtSetlDt = nullptr;
    QListWidget* CLbItem = nullptr;
    QButtonGroup* RGrpProc = nullptr;
    TDistGrid* SGrdPay = nullptr;
    QLabel *PnlTotCnt = nullptr, *PnlTotAmt = nullptr, *PnlProcCnt = nullptr, *PnlProcAmt = nullptr;
    QLabel *PnlNonProcCnt = nullptr, *PnlNonProcAmt = nullptr, *PnlExempCnt = nullptr, *PnlExempAmt = nullptr;
    QPushButton *BBtnPayDisp = nullptr, *BBtnCreate = nullptr, *bbtnFileCreate = nullptr,
                *bbtnDataRecv = nullptr;
    QPushButton *BBtnAmtUpdt = nullptr, *BBtnAddShft = nullptr, *BBtnDelShft = nullptr, *BBtnSearch = nullptr;
    QPushButton *BBtnSelectAll = nullptr, *BBtnCancel = nullptr, *BBtnPrint = nullptr, *BBtnClose = nullptr;

    // What the last listing showed: the prints run it again with the same
    // values.
    DistribRound::Target FPayTarget;
    DistribList::Selection FPaySel;

    // ---- values of the controls
    QString groupCode() const;
    QString bankCode() const;
    QString yearMon() const;
    QString seqNo() const;
    DistribRound::Target target() const;
    DistribList::Selection selection() const;
    // The rows marked with "◎", as the request-file writer takes them.
    QList<DistribRow> markedRows() const;

    // ---- routines
    void ClearGrid();
    void LoadBankCombo();
    void LoadPayGrid();
    void EditRowAmount(int row);
    void ApplyBulkAmount();
    void ReloadAfterResult();
    // The file of the marked rows for the dates and account chosen.
    void WriteRequestFile(const QDate& start, const QDate& end, const QString& acctLine);

    // ---- handlers
    void cboGroupChange();
    void CbBankChange();
    void CbBankExit();
    void MEdtYearMonExit();
    void MEdtSeqNoExit();
    void MEdtNoExit();
    void SBtnYearMonSelectClick();
    void BBtnPayDispClick();
    void BBtnCreateClick();
    void bbtnFileCreateClick();
    void bbtnDataRecvClick();
    void BBtnAmtUpdtClick();
    void BBtnAddShftClick();
    void BBtnDelShftClick();
    void BBtnSearchClick();
    void BBtnSelectAllClick();
    void BBtnCancelClick();
    void BBtnPrintClick();
    void BBtnCloseClick();
    void SGrdPayAct(int row, int col);
    // Ctrl+F11: the rows transferred on the transfer date go back to unprocessed.
    void FormKeyDown(int key, Qt::KeyboardModifiers shift);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void buildControls();
    void fillItems();
    void setRows(const DistribList::Listing& l, bool exemptPanels);
    void updateFileButtons();
    void updateDialogButtons();
    // The last listing's round, conditions and panel texts as the window's
    // properties, for the print units.
    void publishListing();
};

extern TFrmM102B00* FrmM102B00;
