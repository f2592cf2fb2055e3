#pragma once
#include "transfers/common/ResultFile.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

// "파일풀기": lists the result files waiting in recv for the work window's
// bank and applies the chosen one to its round.
class TFrmM101B08 : public QDialog {
    Q_OBJECT
public:
    // bankText and groupText are the work window's bank and item-group
    // combo texts ("11.농협중앙", "01.기본").
    TFrmM101B08(const QString& bankText, const QString& groupText, QWidget* parent = nullptr);

    QTableWidget* SGrdRecvData = nullptr;
    QWidget* PnlMv = nullptr;
    QLineEdit* MEdtYearMon = nullptr;
    QLineEdit* MEdtSeqNo = nullptr;
    QLabel* lblcheck = nullptr;
    QPushButton* bbtnOK = nullptr;
    QPushButton* bbtnCncl = nullptr;

    // The round table the last application changed ("" when none).
    QString appliedTable() const { return appliedTable_; }

    void FormCreate();
    void FillFileList();
    // Applies the file of the selected row (a double click or OK).
    void SGrdRecvDataDblClick();
    void bbtnOKClick() { SGrdRecvDataDblClick(); }
    void bbtnCnclClick() { reject(); }

    // Year-month and round as typed, without the mask's separators.
    QString yearMon() const;
    QString seqNo() const;

private:
    void applyRow(int row);
    QString bankText_, groupText_, appliedTable_;
    QList<ResultFileInfo> files_;
};
