#pragma once
#include "van/TransferHistory.h"

#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;
class TKeyEdit;

// 학생별이체현황: a student's (or a class's) transfer rows across the
// collection and distribution rounds of a span of months.
class TFrmM301B00 : public QWidget {
public:
    explicit TFrmM301B00(QWidget* parent = nullptr);
    ~TFrmM301B00() override;

    QComboBox* cboYearF = nullptr;
    QComboBox* cboYearT = nullptr;
    QRadioButton* rbHakBun = nullptr;
    QRadioButton* rbName = nullptr;
    TKeyEdit* SHakEdit = nullptr;
    TKeyEdit* SBanEdit = nullptr;
    TKeyEdit* SBunEdit = nullptr;
    QLineEdit* sleName = nullptr;
    QRadioButton* RdoShftClsfy[3] = {};
    QComboBox* cboGroup = nullptr;
    QListWidget* CLbItem = nullptr;
    TKeyEdit* MEdtSetlDt = nullptr;
    QLineEdit* MEdtSetlDt2 = nullptr;
    QPushButton* bbtnSearch = nullptr;
    QPushButton* bbtnPrint = nullptr;
    QPushButton* BBtnExcel = nullptr;
    QPushButton* bbtnClose = nullptr;
    QTableWidget* SGrdStudentShft = nullptr;
    // In Totals::values() order.
    QLabel* panels[14] = {};
    QFrame* pnProgress = nullptr;
    QLabel* txtProgress = nullptr;
    QProgressBar* pbInit = nullptr;

    void cboYearFClick();
    void rbHakBunClick();
    void cboGroupChange();
    void bbtnSearchClick();
    void bbtnPrintClick();
    void BBtnExcelClick();

    // What the controls hold, as the search takes it.
    TransferHistory::Selection selection() const;
    const QList<QStringList>& rows() const { return rows_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void clearGrid();
    void showRows();
    QList<QStringList> rows_;
    QStringList yearMons_;
    QString snoCondition_;
};

extern TFrmM301B00* FrmM301B00;
