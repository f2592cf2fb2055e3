#pragma once
#include "reports/ReportCatalog.h"

#include <QWidget>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

// The base of the report selection windows: the standard controls (item
// group, items, bank, quarter, round range with the selector, student-number
// range), the result grid with its two totals, and the search and print
// buttons. A window derives from it, adds its own controls to `extra`, puts
// them into the selection in fillExtra, and names its catalog entry; the
// search lists through the entry and the print previews its document.
class TReportSelectForm : public QWidget {
    Q_OBJECT
public:
    TReportSelectForm(const QString& reportName, QWidget* parent = nullptr);

    QComboBox* cboGroup = nullptr;
    QListWidget* CLbItem = nullptr;
    QComboBox* CbBank = nullptr;
    QComboBox* cboBUNGI = nullptr;
    QLineEdit *MEdtYearMon = nullptr, *MEdtSeqNo = nullptr, *MEdtYearMon_2 = nullptr, *MEdtSeqNo_2 = nullptr;
    QPushButton *SBtnYearMonSelect = nullptr, *SBtnYearMonSelect_2 = nullptr;
    QLineEdit *SHakFromEdit = nullptr, *SBanFromEdit = nullptr, *SBunFromEdit = nullptr;
    QLineEdit *SHakToEdit = nullptr, *SBanToEdit = nullptr, *SBunToEdit = nullptr;
    QTableWidget* grid = nullptr;
    QLabel *pnlTotCnt = nullptr, *pnlTotAmt = nullptr;
    QPushButton *bbtnSearch = nullptr, *bbtnPrint = nullptr, *bbtnDone = nullptr;

    // The controls as values, at this moment.
    ReportSelection selection() const;
    // "자료조회": the checks, then the listing.
    void search();
    // "인쇄": nothing without listed rows; otherwise the preview of the
    // report made from the controls as they are now.
    virtual void print();
    void cboGroupChange();
    void cboBUNGIChange();
    void pickRound(int which);
    // The last listing.
    const ReportListing& listing() const { return listing_; }

protected:
    // A derived window's own controls go here (a grid layout beside the
    // standard ones) and into the selection.
    QGridLayout* extra = nullptr;
    virtual void fillExtra(ReportSelection&) const {}
    // Called after the quarter box changed (its own edits to clear).
    virtual void quarterChanged() {}
    // Called after a round was picked; false refuses it and picks again.
    virtual bool roundPicked(const QString& /*yearMon*/, const QString& /*seqNo*/) { return true; }
    // The round selector offers only the rounds of the chosen item group.
    bool pickOfGroup = true;
    void clearGrid();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void showListing();
    const ReportEntry* entry_;
    ReportListing listing_;
};
