#pragma once
#include "transfers/collection/MealExport.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QWidget;

// "급식인증 자료 수동 전송": the collection rounds of a year-month range;
// the marked ones get their meal-certification workbook in the meal folder.
class TFrmM401B00 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmM401B00(QWidget* parent = nullptr);

    // Grid columns.
    enum { ColKey = 0, ColSeqNo, ColYearMon, ColTitle, ColMark, ColTable, ColCount };

    QLineEdit* mskFYear = nullptr;
    QLineEdit* mskTYear = nullptr;
    QPushButton* cmdSearch = nullptr;
    QTableWidget* vGrid = nullptr;
    QCheckBox* chkAuto = nullptr;
    QCheckBox* chkCash = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdClose = nullptr;
    QWidget* pnProgress = nullptr;
    QProgressBar* pbInit = nullptr;

    void cmdSearchClick();
    void vGridDblClick(int row);
    void cmdSendClick();
    // The settings' switch is off: says so and closes (at the first show).
    void FormPaint();

    // The table names of the marked rows, top to bottom.
    QStringList marked() const;

    // One workbook written by a creation run.
    struct Written {
        QString table, file;
        int rows = 0;
    };
    struct Run {
        bool created = false; // every workbook written, the success box shown
        qint64 count = 0, amount = 0;
        QList<Written> written;
    };
    // "급식인증파일생성" on values, for the window and for any other caller:
    // the checks with their boxes, the confirmation dialog (through Modal)
    // with the count and amount, the folder, then one workbook per round.
    // step(i, table) comes before round i is written and step(n, {}) after
    // the last.
    static Run createWorkbooks(const QStringList& tables, const MealExport::Kinds& k, const QString& folder,
                               QWidget* parent = nullptr,
                               const std::function<void(int, const QString&)>& step = {});

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void pEnableCreate(bool on);
    MealExport::Kinds kinds() const;

    bool use_ = false;
    QString folder_;
    bool painted_ = false;
};
