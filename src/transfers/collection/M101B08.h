#pragma once
#include "transfers/common/ResultDialog.h"

class QLabel;

// "파일풀기": lists the result files waiting in recv for the work window's
// bank and applies the chosen one to its round.
class TFrmM101B08 : public TResultFileDialog {
    Q_OBJECT
public:
    // bankText and groupText are the work window's bank and item-group
    // combo texts ("11.농협중앙", "01.기본").
    TFrmM101B08(const QString& bankText, const QString& groupText, QWidget* parent = nullptr);

    QLabel* lblcheck = nullptr;

    void FormCreate();
    void FillFileList();
    // Applies the file of the selected row (a double click or OK).
    void SGrdRecvDataDblClick() override;

protected:
    ResultApplyOutcome applyFile(const ResultApplyRequest& req) override;
};
