#pragma once
#include "transfers/common/ResultFile.h"

#include <QDialog>

#include <functional>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QVBoxLayout;
class QWidget;

// "파일풀기" of a work window: lists the result files waiting in recv for the
// window's bank and applies the chosen one to its round. What kind of file
// it lists, how the bank column reads and what applies a file are the
// collection's and the distribution's own.
class TResultFileDialog : public QDialog {
    Q_OBJECT
public:
    QTableWidget* SGrdRecvData = nullptr;
    QWidget* PnlMv = nullptr;
    QLineEdit* MEdtYearMon = nullptr;
    QLineEdit* MEdtSeqNo = nullptr;
    QPushButton* bbtnOK = nullptr;
    QPushButton* bbtnCncl = nullptr;

    // Year-month and round as typed, without the mask's separators.
    QString yearMon() const;
    QString seqNo() const;
    // The round table the last application changed ("" when none).
    QString appliedTable() const { return appliedTable_; }

    // Applies the file of the current row (a double click or OK).
    virtual void SGrdRecvDataDblClick();
    void bbtnOKClick() { SGrdRecvDataDblClick(); }
    void bbtnCnclClick() { reject(); }

protected:
    // bankText and groupText are the work window's bank and item-group
    // combo texts ("11.농협중앙", "01.기본").
    TResultFileDialog(const QString& bankText, const QString& groupText, QWidget* parent);

    // ---- building pieces, in this order
    // PnlMv with "이체년월" and "회차"; returns its row for what follows them.
    QHBoxLayout* buildRoundLine();
    // A widget between the round line and the list.
    void addAboveList(QWidget* w);
    // The list of files in its five columns, then OK and Cancel.
    void buildFileList();

    // Shows the files, the bank column as bankName reads it; the first row
    // is selected.
    void showFiles(QList<ResultFileInfo> files,
                   const std::function<QString(const ResultFileInfo&)>& bankName);
    // Applies the file of that row to the dialog's round and shows the boxes
    // the application asks for; OK once it applied, Cancel once refused.
    void applyRow(int row);
    virtual ResultApplyOutcome applyFile(const ResultApplyRequest& req) = 0;

    QString bankText_, groupText_;
    QList<ResultFileInfo> files_;

private:
    QVBoxLayout* lay_ = nullptr;
    QString appliedTable_;
};
