#pragma once
#include "transfers/common/BatFile.h"
#include "transfers/common/WorkGrid.h"
#include "transfers/common/WorkWindow.h"
#include "transfers/distribution/DistribList.h"
#include "transfers/distribution/DistribRound.h"

#include <QDate>

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

// The round rows of the distribution grid, DistCol::Count cells each.
class TDistGridModel : public TWorkGridModel {
    Q_OBJECT
public:
    explicit TDistGridModel(QObject* parent = nullptr);
    QVariant data(const QModelIndex& index, int role) const override;
    Shown shown(int col) const override;
};

// SGrdPay: Enter moves one row down; a double click or the space key on the
// amount edits it, on "선택" toggles the mark.
class TDistGrid : public TWorkGrid {
    Q_OBJECT
public:
    explicit TDistGrid(QWidget* parent = nullptr);
    TDistGridModel* payModel() const { return static_cast<TDistGridModel*>(workModel()); }
    std::function<void(int row, int col)> onAct; // double click or space

protected:
    void keyPressEvent(QKeyEvent* e) override;
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
//
// The round line, transfer date, item list, panels, the buttons both work
// windows have and their alike handlers are TWorkWindow's.
class TFrmM102B00 : public TWorkWindow {
    Q_OBJECT
public:
    explicit TFrmM102B00(QWidget* parent = nullptr);
    ~TFrmM102B00() override;

    TKeyEdit* MEdtNo = nullptr;
    TDistGrid* SGrdPay = nullptr;
    QPushButton *BBtnSelectAll = nullptr, *BBtnCancel = nullptr, *BBtnPrint = nullptr;

    // What the last listing showed: the prints run it again with the same
    // values.
    DistribRound::Target FPayTarget;
    DistribList::Selection FPaySel;

    // ---- values of the controls
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
    void cboGroupChange() override;
    // A bank chosen empties the grid.
    void CbBankChange() override;
    void CbBankExit() override;
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
    void SGrdPayAct(int row, int col);

protected:
    void updateFileButtons() override;
    void relist() override { LoadPayGrid(); }
    bool resetTransferDate(const QString& date) override;

private:
    void buildControls();
    void fillItems();
    void setRows(const DistribList::Listing& l, bool exemptPanels);
    void updateDialogButtons();
    // The last listing's round, conditions and panel texts as the window's
    // properties, for the print units.
    void publishListing();
};

extern TFrmM102B00* FrmM102B00;
