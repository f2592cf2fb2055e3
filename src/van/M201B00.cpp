#include "van/M201B00.h"

#include "platform/report/Report.h"
#include "platform/ui/FormRegistry.h"
#include "van/InquiryPrint.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TFrmM201B00* FrmM201B00 = nullptr;

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("M201B00"), QStringLiteral("송신자료조회"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmM201B00(parent); }});
} // namespace

TFrmM201B00::TFrmM201B00(QWidget* parent) : TFileInquiryForm(FileInquiry::Kind::Sent, parent) {
    FrmM201B00 = this;
    setObjectName(QStringLiteral("FrmM201B00"));
    setWindowTitle(QStringLiteral("송신자료조회"));
    auto* body = new QWidget(TabShtDetail);
    auto* bv = new QVBoxLayout(body);
    bv->setContentsMargins(0, 0, 0, 0);
    SGrdSendDetail = grid(
        body, "SGrdSendDetail",
        {{u"학번", 90}, {u"성명", 100}, {u"은행", 100}, {u"계좌번호", 130}, {u"항목명", 90}, {u"금액", 100}});
    bv->addWidget(SGrdSendDetail, 1);
    auto* sums = new QHBoxLayout;
    pnlTotCnt = panel(body, "pnlTotCnt", 80);
    pnlTotAmt = panel(body, "pnlTotAmt", 120);
    pnlTotCnt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    pnlTotAmt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sums->addWidget(new QLabel(QStringLiteral("총건수"), body));
    sums->addWidget(pnlTotCnt);
    sums->addWidget(new QLabel(QStringLiteral("총금액"), body));
    sums->addWidget(pnlTotAmt);
    sums->addStretch();
    bv->addLayout(sums);
    buildDetail(body);
    connect(btnPrint, &QPushButton::clicked, this, [this] { btnPrintClick(); });
    BBtnSearchClick();
}

TFrmM201B00::~TFrmM201B00() {
    if (FrmM201B00 == this) FrmM201B00 = nullptr;
}

void TFrmM201B00::clearDetail() {
    fill(SGrdSendDetail, {});
}

void TFrmM201B00::showView(const FileInquiry::FileView& v) {
    PnlBnkNm->setText(v.bankNm);
    PnlPrentAcctNo->setText(v.masterAcct);
    PnlStrtDate->setText(v.startDate);
    PnlEndDate->setText(v.endDate);
    pnlTotCnt->setText(v.totCnt);
    pnlTotAmt->setText(v.totAmt);
    fill(SGrdSendDetail, v.rows);
}

void TFrmM201B00::btnPrintClick() {
    if (view_.rows.isEmpty()) return;
    InquiryPrint::sent(view_).preview(this);
}
