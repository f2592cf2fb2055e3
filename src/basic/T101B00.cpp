#include "basic/T101B00.h"

#include "basic/MarkGrid.h"
#include "basic/ToolActions.h"
#include "platform/ui/FormRegistry.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kMark = QStringLiteral("◎");

const FormRegistrar g_reg(FormEntry{QStringLiteral("T101B00"), QStringLiteral("인덱스복구"),
                                    FormEntry::Mode::WorkWindow,
                                    [](QWidget* parent) -> QWidget* { return new TFrmT101B00(parent); }});

} // namespace

TFrmT101B00::TFrmT101B00(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FrmT101B00"));
    setWindowTitle(QStringLiteral("인덱스복구"));
    SGrdDbLst = new QTableWidget(this);
    SGrdDbLst->setObjectName(QStringLiteral("SGrdDbLst"));
    SGrdDbLst->setColumnCount(3);
    SGrdDbLst->setHorizontalHeaderLabels({QStringLiteral("DB명"), QStringLiteral("설명"), QStringLiteral("선택")});
    SGrdDbLst->setColumnWidth(0, 200);
    SGrdDbLst->setColumnWidth(1, 200);
    SGrdDbLst->setColumnWidth(2, 30);
    MarkGrid::setUp(SGrdDbLst, 2, kMark);

    BbtnAllSelect = new QPushButton(QStringLiteral("모두선택"), this);
    BbtnIdxCncl = new QPushButton(QStringLiteral("선택취소"), this);
    BbtnCreateIdx = new QPushButton(QStringLiteral("인덱스생성"), this);
    BbtnClose = new QPushButton(QStringLiteral("닫기"), this);
    // The check's result goes on one line under the list, its room kept from
    // the start: a text arriving after a run moves nothing and wraps nothing.
    LblCheck = new QLabel(this);
    LblCheck->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    LblCheck->setFixedHeight(LblCheck->fontMetrics().height() + 4);
    auto* side = new QVBoxLayout;
    for (QPushButton* b : {BbtnAllSelect, BbtnIdxCncl, BbtnCreateIdx})
        side->addWidget(b);
    side->addStretch();
    side->addWidget(BbtnClose);
    auto* list = new QVBoxLayout;
    list->addWidget(SGrdDbLst, 1);
    list->addWidget(LblCheck);
    auto* main = new QHBoxLayout(this);
    main->addLayout(list, 1);
    main->addLayout(side);

    PnlWait = new QLabel(QStringLiteral("인덱스복구 중입니다. 잠시만 기다려 주세요!"), this);
    PnlWait->setAlignment(Qt::AlignCenter);
    PnlWait->setFrameShape(QFrame::Panel);
    PnlWait->setStyleSheet(QStringLiteral("background: lightgray"));
    PnlWait->resize(360, 60);
    PnlWait->hide();
    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(50);

    connect(BbtnAllSelect, &QPushButton::clicked, this, [this] { MarkGrid::markAll(SGrdDbLst, 2, kMark, true); });
    connect(BbtnIdxCncl, &QPushButton::clicked, this, [this] { MarkGrid::markAll(SGrdDbLst, 2, kMark, false); });
    connect(BbtnCreateIdx, &QPushButton::clicked, this, &TFrmT101B00::BbtnCreateIdxClick);
    connect(BbtnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(Timer1, &QTimer::timeout, this, &TFrmT101B00::Timer1Timer);
    FillList();
}

void TFrmT101B00::FillList() {
    const QList<IndexRepair::TableRow> rows = IndexRepair::tables();
    SGrdDbLst->clearContents();
    SGrdDbLst->setRowCount(qMax(1, int(rows.size())));
    for (int i = 0; i < rows.size(); ++i) {
        SGrdDbLst->setItem(i, 0, new QTableWidgetItem(rows.at(i).name));
        SGrdDbLst->setItem(i, 1, new QTableWidgetItem(rows.at(i).description));
    }
}

void TFrmT101B00::BbtnCreateIdxClick() {
    PnlWait->move((width() - PnlWait->width()) / 2, (height() - PnlWait->height()) / 2);
    PnlWait->raise();
    PnlWait->show();
    Timer1->start();
}

void TFrmT101B00::Timer1Timer() {
    Timer1->stop();
    const IndexRepair::Outcome o = ToolActions::repairIndexes(MarkGrid::marked(SGrdDbLst, 2, 0), this);
    PnlWait->hide();
    const QString check = QStringLiteral("데이터베이스 검사: ") +
                          (o.integrityOk ? QStringLiteral("이상 없음") : o.integrity.value(0));
    // A long finding is cut at the label's edge; the whole of it stays at hand.
    LblCheck->setText(check);
    LblCheck->setToolTip(check);
}
