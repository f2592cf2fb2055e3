#pragma once
#include "transfers/collection/CollectionPrint.h"
#include "transfers/common/CollectionListing.h"
#include "transfers/common/WorkGrid.h"
#include "transfers/common/WorkWindow.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class TKeyEdit;
struct CollectSelection;
struct RoundDialogValues;
namespace RowEdit {
struct Round;
}
namespace RowEditFlow {
struct After;
struct Dialogs;
} // namespace RowEditFlow

// The rows of the round grid: ColCount cells each.
class TPayGridModel : public TWorkGridModel {
    Q_OBJECT
public:
    explicit TPayGridModel(QObject* parent = nullptr);
    QVariant data(const QModelIndex& index, int role) const override;
    Shown shown(int col) const override;
};

// SGrdPay: 16 visible columns, five hidden ones (16 to 20).
class TPayGrid : public TWorkGrid {
    Q_OBJECT
public:
    explicit TPayGrid(QWidget* parent = nullptr);
    TPayGridModel* payModel() const { return static_cast<TPayGridModel*>(workModel()); }
};

// "집금이체자료작성": the work window of collection rounds.
//
// The round line, transfer date, item list, first eight panels, the buttons
// both work windows have and their alike handlers are TWorkWindow's.
class TFrmM101B00 : public TWorkWindow {
    Q_OBJECT
public:
    explicit TFrmM101B00(QWidget* parent = nullptr);
    ~TFrmM101B00() override;

    // ---- selection controls
    QComboBox* cboBUNGI = nullptr;
    TKeyEdit *SHakFromEdit = nullptr, *SBanFromEdit = nullptr, *SBunFromEdit = nullptr;
    TKeyEdit *SHakToEdit = nullptr, *SBanToEdit = nullptr, *SBunToEdit = nullptr;
    TKeyEdit *MEdtSetlDt2 = nullptr, *MEdtReDt = nullptr, *MEdtReDt2 = nullptr;
    QListWidget* ChkLstGrp = nullptr;
    QButtonGroup* RGrpExemp = nullptr;
    QButtonGroup* RGrpsmsYN = nullptr;
    TPayGrid* SGrdPay = nullptr;

    // ---- totals panels
    QLabel *PnlReCnt = nullptr, *PnlReAmt = nullptr, *PnlReCnt2 = nullptr, *PnlReAmt2 = nullptr;
    QWidget* PnlDispWait = nullptr;
    QLabel* PnlDispWaitText = nullptr;
    QProgressBar* SearBar = nullptr;

    // ---- buttons
    QPushButton* BBtnAdd = nullptr;
    QPushButton *bbtnSuNap = nullptr, *BBtnPreview = nullptr, *cmdReceipt = nullptr;
    QCheckBox* DoubleCheckBox = nullptr;
    QPushButton* BBtnExcelSave = nullptr;
    QPushButton* BBtnSMS = nullptr;

    // ---- state
    QString FListSql;        // the last listing's statement
    QString FListFromSql;    // its tail from " from" on
    QVariantList FListBinds; // the values bound in it, in order
    QString FFromSNo, FToSNo;
    QString TblPayTable;            // the round table TblPay names (set by the result reader)
    QStringList FLbHProc;           // round tables of the data folder, sorted
    QStringList FLbHProcMask;       // GLOB patterns; empty: every round
    QStringList CboItemT, CboItemN; // ItemID and ItemNm of the group's items, parallel to CLbItem

    // ---- values of the controls
    static QString digits(const TKeyEdit* e);
    CollectionSelection selection() const;
    CollectSelection collectSelection() const;
    // What the round dialogs are handed: group line, round, bank choice.
    RoundDialogValues roundDialogValues() const;

    // ---- routines
    void pDispPay();
    void pDispPayTable();
    void pClearPay();
    void clearTotals();
    void pSetButtons(bool enabled);
    void pLoadBankCombo();
    void pLoadSeqNo();
    void pLoadGroupLists(const QString& gcode);
    void pReadRoundTables();
    QString sItemNm(const QString& itemId) const;
    const CollectionTotals& lastTotals() const { return totals_; }

    // ---- handlers
    void BBtnPayDispClick();
    void BBtnCreateClick();
    void BBtnAddClick();
    void BBtnAddShftClick();
    void BBtnDelShftClick();
    void SBtnYearMonSelectClick();
    void cboGroupChange() override;
    void RGrpProcClick();
    void bbtnFileCreateClick();
    void TimeShowTimer();
    void bbtnDataRecvClick();

    // ---- outputs (M101B00Prints.cpp)
    void BBtnPreviewClick(); // the list print
    void cmdReceiptClick();  // the receipt of the current row
    void cboBUNGIChange();   // the quarter's round tables
    void BBtnExcelSaveClick(); // the listed rows into a workbook
    void BBtnSMSClick();       // the listed payers to the SMS composer
    // What the list print hands its form (the dialog's choices aside).
    CollectionPrint::ListOptions listOptions() const;
    CollectionPrint::Receipt receipt(int row) const;

    // ---- row edits (M101B00Edits.cpp)
    void BBtnAmtUpdtClick(); // F: the bulk amount
    void bbtnSuNapClick();   // transfer status change
    void SGrdPayDblClick(int col);
    void BBtnSearchClick();
    RowEdit::Round editRound() const;
    // The row dialogs, shown modally on the current row.
    RowEditFlow::Dialogs rowDialogs();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void updateFileButtons() override;
    void relist() override { pDispPay(); }
    // Ctrl+F11 on the lower transfer date, for the ticked items and the
    // student-number range.
    bool resetTransferDate(const QString& date) override;

private:
    void buildControls();
    void wireKeys();
    void setTotals(const CollectionTotals& t);
    void showWait(bool on, const QString& caption = QString());
    void resyncGroup(const QString& gcode, int remembered, bool rebuildLists);
    bool hasUnprocRow() const;
    void afterEdit(const RowEditFlow::After& a, int row, int col);
    CollectionTotals totals_;
    QList<QWidget*> rowButtons_;   // the row buttons that work
};

extern TFrmM101B00* FrmM101B00;
