#pragma once
#include "van/RoundTotals.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTimer;

// 학생자료집계: one round summed by grade or by class into counts and
// amounts per state.
class TFrmM302B00 : public QWidget {
public:
    explicit TFrmM302B00(QWidget* parent = nullptr);
    ~TFrmM302B00() override;

    QRadioButton* RdoGrpInOut[2] = {};
    QLineEdit* MEdtYearMon = nullptr;
    QLineEdit* MEdtSeqNo = nullptr;
    QPushButton* SBtnYearMonSelect = nullptr;
    QComboBox* CbBank = nullptr;
    QComboBox* CbItem = nullptr;
    QComboBox* cbYearStudt = nullptr;
    QLineEdit* MEdtSetlDt = nullptr;
    QLineEdit* eGcode = nullptr;
    QPushButton* bbtnShftDateView = nullptr;
    QPushButton* BbtnPrint = nullptr;
    QPushButton* bbtnDone = nullptr;
    QLabel* PnlSelectTxt = nullptr;
    QTableWidget* SGrdSum = nullptr;
    // PnlTotProcCnt .. PnlTotSumAmt, in the grid's column order.
    QLabel* totals[12] = {};
    QLabel* PnlDispWait = nullptr;
    QTimer* TimeShow = nullptr;

    void SBtnYearMonSelectClick();
    void bbtnShftDateViewClick();
    void TimeShowTimer();
    void BbtnPrintClick();

    RoundTotals::Selection selection() const;
    const RoundTotals::Result& result() const { return result_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void pLoadBanks(const QString& gcode);
    void fillItems();
    RoundTotals::Result result_;
};

extern TFrmM302B00* FrmM302B00;
