#pragma once
#include "transfers/registration/RegRun.h"

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// "계좌등록자료작성": the account-registration work window. Builds a run,
// lists it, writes its request file and applies the banks' result files;
// the work is done by RegRun.
class TFrmCreateRegData : public QWidget {
    Q_OBJECT
public:
    explicit TFrmCreateRegData(QWidget* parent = nullptr);
    ~TFrmCreateRegData() override;

    QComboBox* CbBank = nullptr;
    QLineEdit* MEdtYearMon = nullptr;
    QLineEdit* MEdtSeqNo = nullptr;
    QPushButton* SBtnYearMonSelect = nullptr;
    QRadioButton* ResultTp[3] = {};
    QPushButton* BtnSearch = nullptr;
    QPushButton* BtnCreate = nullptr;
    QPushButton* BtnResolve = nullptr;
    QPushButton* BtnMake = nullptr;
    QLabel* PnlTotCnt = nullptr;
    QLabel* PnlFineCnt = nullptr;
    QLabel* PnlFalseCnt = nullptr;
    QTableWidget* SGrdReg = nullptr;

    void CbBankChange();
    void BtnMakeClick();
    void BtnSearchClick();
    void SBtnYearMonSelectClick();
    void BtnCreateClick();
    void BtnResolveClick();

    QString yearMon() const;
    QString seqNo() const;
    const RegRun::Listing& listing() const { return listing_; }

private:
    void pShowRegList();
    void clearGrid();
    RegRun::Filter filter() const;

    QButtonGroup* resultGroup_ = nullptr;
    RegRun::Listing listing_;
};

extern TFrmCreateRegData* FrmCreateRegData;
