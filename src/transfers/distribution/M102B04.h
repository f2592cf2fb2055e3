#pragma once
#include <QDate>
#include <QDialog>

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

// "이체일자입력": the transfer dates and the master account of a
// distribution request file. Both dates propose tomorrow; the dialog checks
// no date (the work window refuses a weekend). The caller fills the master
// accounts (property "accounts", the first is selected) and reads
// "startDate", "endDate", "acctLine" and "itemIndex" after OK.
class TFrmM102B04 : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QStringList accounts READ accounts WRITE setAccounts)
    Q_PROPERTY(QDate startDate READ startDate)
    Q_PROPERTY(QDate endDate READ endDate)
    Q_PROPERTY(QString acctLine READ acctLine)
    Q_PROPERTY(int itemIndex READ itemIndex)
public:
    explicit TFrmM102B04(QWidget* parent = nullptr);

    QDateEdit* DTPickerMvS; // 이체시작일
    QDateEdit* DTPickerMvE; // 이체종료일
    QComboBox* cbMAcctNo;   // "%-10s %-16s%s" of CompyNo, AcctNo, Passwd
    // The fund type and the pay kind stay hidden for banks 20 and 21, the
    // only banks that write distribution files.
    QWidget* pnlBokgi;
    QComboBox* CbFileTp;
    QLabel* Panel3;
    QWidget* RGrpItemBox;
    QButtonGroup* RGrpItem; // 0 급여, 1 비급여
    QPushButton* bbtnOK;
    QPushButton* bbtnCncl;

    void FormCreate();
    void bbtnOKClick();
    void bbtnCnclClick();

    void setAccounts(const QStringList& lines);
    QStringList accounts() const;
    QDate startDate() const;
    QDate endDate() const;
    QString acctLine() const;
    int itemIndex() const;
};
