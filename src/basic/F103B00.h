#pragma once
#include "basic/AccountStore.h"
#include "basic/BasicDialog.h"

#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// 은행등록: the school's collection and distribution accounts per bank, with
// each bank's notes on automatic transfers.
class TFrmF103B00 : public BasicDialog {
    Q_OBJECT
public:
    explicit TFrmF103B00(QWidget* parent = nullptr);

    // Grid columns; the last three are hidden.
    enum Col {
        ColGubun,
        ColBank,
        ColAcctNo,
        ColCompyNo,
        ColPasswd,
        ColGroup,
        ColEduCode,
        ColRepCd,
        ColBankCd,
        ColRepYn,
        ColGcode,
        ColCount
    };

    QComboBox* CBBank;
    QRadioButton* Rdobtn1; // 집금
    QRadioButton* Rdobtn2; // 배분
    QLineEdit* EdtInAcctNo;
    QLineEdit* EdtInCompyNo;
    QLineEdit* EdtInPasswd;
    QComboBox* cboGroup;
    QLabel* lblBankCode; // "교육금고코드" or "CMS등록코드"
    QLineEdit* EdtEBcode;
    QLineEdit* EdtRFcode;
    QLabel* lblInfo;
    QGroupBox* grpNotice;
    QPlainTextEdit* mBNotice;
    QTableWidget* SGrdMBank;
    QPushButton* g; // 저장
    QPushButton* BBtnNew;
    QPushButton* BBtnDel;
    QPushButton* BBtnClose;
    QPushButton* bt_gedit;

    void pLoadBankNotice(const QString& bankCd);

public slots:
    void FormCreate();
    void SGrdMBankClick(int row);
    void CBBankChange();
    void EdtInAcctNoExit();
    void gClick();
    void BBtnNewClick();
    void BBtnDelClick();
    void BBtnCloseClick();
    void bt_geditClick();

private:
    void LoadGrid();
    void ShowBankInputs();
    void FillGroups();
    QString bankCode() const;
    AcctInput inputs() const;
    std::optional<AcctRow> shown_; // the row last clicked
    bool checkingAcctNo_ = false;
};
