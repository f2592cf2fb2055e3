#pragma once
#include "basic/JobLogView.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "월별로그조회": the job log of one month, filtered by days, menu, kind and
// text, newest entry first. Reads only.
class TFrmT304B00 : public QWidget {
    Q_OBJECT
public:
    explicit TFrmT304B00(QWidget* parent = nullptr);

    QComboBox *cboYearF, *cboDayF, *cboDayT, *cboMenu, *cboType;
    QLineEdit* sleKey;
    QPushButton *cmdSearch, *cmdClose;
    QTableWidget* vGrid;

    void FillMonths();
    void cboYearFChange();
    void cboDayFChange();
    void cmdSearchClick();
    JobLogView::MonthFilter filter() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Fills a log grid with rows (one empty row when there are none); the
// columns are seq (if withSeq), date, time, menu, text.
void FillLogGrid(QTableWidget* grid, const QList<JobLogView::LogRow>& rows, bool withSeq, bool formatted);
