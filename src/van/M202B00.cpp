#include "van/M202B00.h"

#include "platform/report/Report.h"
#include "platform/ui/FormRegistry.h"
#include "van/InquiryPrint.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

TFrmM202B00* FrmM202B00 = nullptr;

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("M202B00"), QStringLiteral("수신자료조회"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmM202B00(parent); }});
} // namespace

TFrmM202B00::TFrmM202B00(QWidget* parent) : TFileInquiryForm(FileInquiry::Kind::Received, parent) {
    FrmM202B00 = this;
    setObjectName(QStringLiteral("FrmM202B00"));
    setWindowTitle(QStringLiteral("수신자료조회"));
    auto* body = new QWidget(TabShtDetail);
    auto* bv = new QVBoxLayout(body);
    bv->setContentsMargins(0, 0, 0, 0);
    auto* sums = new QGridLayout;
    const struct {
        const char16_t* caption;
        const char* name;
        QLabel** out;
    } panels[] = {{u"처리건수", "PnlProcCnt", &PnlProcCnt},
                  {u"미처리건수", "PnlNonProcCnt", &PnlNonProcCnt},
                  {u"총건수", "PnlTotCnt", &PnlTotCnt},
                  {u"처리금액", "PnlProcAmt", &PnlProcAmt},
                  {u"미처리금액", "PnlNonProcAmt", &PnlNonProcAmt},
                  {u"총금액", "PnlTotAmt", &PnlTotAmt}};
    for (int i = 0; i < 6; ++i) {
        *panels[i].out = panel(body, panels[i].name, 110);
        (*panels[i].out)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        sums->addWidget(new QLabel(QString::fromUtf16(panels[i].caption), body), i / 3, (i % 3) * 2);
        sums->addWidget(*panels[i].out, i / 3, (i % 3) * 2 + 1);
    }
    sums->setColumnStretch(6, 1);
    bv->addLayout(sums);
    PageControl1 = new QTabWidget(body);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    const QList<std::pair<const char16_t*, int>> cols = {{u"학번", 60},      {u"성명", 90},   {u"은행", 100},
                                                         {u"계좌번호", 130}, {u"항목명", 90}, {u"금액", 90}};
    SGrdRecvDetailProc = grid(PageControl1, "SGrdRecvDetailProc", cols);
    auto withReason = cols;
    withReason.append({u"불능사유", 150});
    SGrdRecvDetailNonProc = grid(PageControl1, "SGrdRecvDetailNonProc", withReason);
    PageControl1->addTab(SGrdRecvDetailProc, QStringLiteral("처리분"));
    PageControl1->addTab(SGrdRecvDetailNonProc, QStringLiteral("미처리분"));
    bv->addWidget(PageControl1, 1);
    buildDetail(body);
    connect(btnPrint, &QPushButton::clicked, this, [this] { btnPrintClick(); });
    BBtnSearchClick();
}

TFrmM202B00::~TFrmM202B00() {
    if (FrmM202B00 == this) FrmM202B00 = nullptr;
}

void TFrmM202B00::clearDetail() {
    fill(SGrdRecvDetailProc, {});
    fill(SGrdRecvDetailNonProc, {});
}

void TFrmM202B00::showView(const FileInquiry::FileView& v) {
    PnlBnkNm->setText(v.bankNm);
    PnlPrentAcctNo->setText(v.masterAcct);
    PnlStrtDate->setText(v.startDate);
    PnlEndDate->setText(v.endDate);
    PnlProcCnt->setText(v.procCnt);
    PnlNonProcCnt->setText(v.nonProcCnt);
    PnlTotCnt->setText(v.totCnt);
    PnlProcAmt->setText(v.procAmt);
    PnlNonProcAmt->setText(v.nonProcAmt);
    PnlTotAmt->setText(v.totAmt);
    fill(SGrdRecvDetailProc, v.rows);
    fill(SGrdRecvDetailNonProc, v.failRows);
}

// Prints the grid of the inner page shown; nothing when it has no row.
void TFrmM202B00::btnPrintClick() {
    if (PageControl1->currentIndex() == 0) {
        if (view_.rows.isEmpty()) return;
        InquiryPrint::processed(view_).preview(this);
    } else {
        if (view_.failRows.isEmpty()) return;
        InquiryPrint::unprocessed(view_).preview(this);
    }
}
