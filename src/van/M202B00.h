#pragma once
#include "van/FileInquiryForm.h"

// 수신자료조회: the result files applied, split into processed and
// unprocessed transfers.
class TFrmM202B00 : public TFileInquiryForm {
public:
    explicit TFrmM202B00(QWidget* parent = nullptr);
    ~TFrmM202B00() override;

    QTabWidget* PageControl1 = nullptr;
    QTableWidget* SGrdRecvDetailProc = nullptr;
    QTableWidget* SGrdRecvDetailNonProc = nullptr;
    QLabel *PnlProcCnt = nullptr, *PnlNonProcCnt = nullptr, *PnlTotCnt = nullptr;
    QLabel *PnlProcAmt = nullptr, *PnlNonProcAmt = nullptr, *PnlTotAmt = nullptr;

    void btnPrintClick();

protected:
    void clearDetail() override;
    void showView(const FileInquiry::FileView& v) override;
};

extern TFrmM202B00* FrmM202B00;
