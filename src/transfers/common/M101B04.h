#pragma once
#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

// "이체일자입력": transfer dates and the school (master) account of a
// request file. The caller fills the account lists and the totals.
class TFrmM101B04 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM101B04(QWidget* parent = nullptr);

    QLabel* PnlMvSDt;
    QDateEdit* DTPickerMvS;
    QLabel* PnlMvEDt;
    QDateEdit* DTPickerMvE;
    QComboBox* cbMAcctNo;
    QComboBox* CboEduCode; // hidden, index-parallel to cbMAcctNo
    QLabel* pnlShftCnt;
    QLabel* pnlShftAmt;
    QPushButton* bbtnOK;
    QPushButton* bbtnCncl;

    // Only bank 05 is asked for an end date.
    void ShowEndDate(bool show);
    // Count and sum as "%.0n ": thousands separators and one trailing blank.
    void SetTotals(qint64 count, qint64 amount);
    static QString FormatCount(qint64 v);

public slots:
    void FormCreate();
    void bbtnOKClick();
    void bbtnCnclClick();
    void cbMAcctNoChange(int index);
};
