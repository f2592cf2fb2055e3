#pragma once
#include "reports/Income.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTableWidget;

// "수입명세서": the income statement of one round, one grade at a time, and
// its printed sheets.
class TFrmP101B00 : public QWidget {
    Q_OBJECT
public:
    explicit TFrmP101B00(QWidget* parent = nullptr);
    ~TFrmP101B00() override;

    QComboBox *cboGroup = nullptr, *CbItem = nullptr, *CbBank = nullptr, *cboBUNGI = nullptr;
    QLineEdit *MEdtYearMon = nullptr, *MEdtSeqNo = nullptr, *MEdtSetlDt = nullptr;
    QPushButton *SBtnYearMonSelect = nullptr, *bbtnShftDateView = nullptr, *BbtnPrint = nullptr,
                *bbtnDone = nullptr;
    QTabBar* TabIncom = nullptr;
    QTableWidget* SGrdIncom = nullptr;
    QLabel* PnlSum[5] = {};

    // The controls as a selection (CbItem's ItemID in "item", the day in "day").
    ReportSelection selection() const;
    void cboGroupChange();
    void cboBUNGIChange();
    void SBtnYearMonSelectClick();
    void bbtnShftDateViewClick();
    void TabIncomClick();
    void BbtnPrintClick();
    // The working table as the last computation left it.
    const Income::Table& table() const { return table_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clearFigures();
    void showGrade(int grade);
    Income::Table table_;
};

extern TFrmP101B00* FrmP101B00;
