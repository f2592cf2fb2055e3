#pragma once
#include "van/FileInquiryForm.h"

// 송신자료조회: the request files that went to the VAN operator.
class TFrmM201B00 : public TFileInquiryForm {
public:
    explicit TFrmM201B00(QWidget* parent = nullptr);
    ~TFrmM201B00() override;

    QTableWidget* SGrdSendDetail = nullptr;
    QLabel* pnlTotCnt = nullptr;
    QLabel* pnlTotAmt = nullptr;

    void btnPrintClick();

protected:
    void clearDetail() override;
    void showView(const FileInquiry::FileView& v) override;
};

extern TFrmM201B00* FrmM201B00;
