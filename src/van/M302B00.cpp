#include "van/M302B00.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/GridFit.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "transfers/common/KeyEdit.h"
#include "transfers/common/M101B02.h"
#include "transfers/distribution/M102B02.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace RoundTotals;

TFrmM302B00* FrmM302B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("M302B00"), QStringLiteral("학생자료집계"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmM302B00(parent); }});

const int kWidths[13] = {63, 65, 66, 66, 69, 66, 66, 85, 86, 86, 86, 86, 85};

// Column 0 after six blanks in blue; the figures right-aligned 2 pixels
// from the right edge, highlighted on the selected row.
class SumCell : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        const bool selected = o.state & QStyle::State_Selected;
        p->fillRect(o.rect, selected ? o.palette.highlight() : o.palette.base());
        const QString text = i.data().toString();
        if (i.column() == 0) {
            p->setPen(selected ? o.palette.highlightedText().color() : QColor(Qt::blue));
            p->drawText(o.rect, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("      ") + text);
        } else {
            p->setPen(selected ? o.palette.highlightedText().color() : QColor(Qt::black));
            p->drawText(o.rect.adjusted(0, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }
};

QLabel* panel(QWidget* owner, const QString& name, const QString& text, int width) {
    auto* l = new QLabel(text, owner);
    l->setObjectName(name);
    l->setFrameStyle(QFrame::Panel | QFrame::Raised);
    l->setAlignment(Qt::AlignCenter);
    l->setFixedWidth(width);
    return l;
}

} // namespace

TFrmM302B00::TFrmM302B00(QWidget* parent) : QWidget(parent) {
    FrmM302B00 = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FrmM302B00"));
    setWindowTitle(QStringLiteral("학생자료집계"));
    auto* top = new QVBoxLayout(this);

    auto* sel = new QHBoxLayout;
    auto* kind = new QGroupBox(QStringLiteral("구분"), this);
    kind->setObjectName(QStringLiteral("RdoGrpInOut"));
    auto* kl = new QHBoxLayout(kind);
    RdoGrpInOut[0] = new QRadioButton(QStringLiteral("집금이체"), kind);
    RdoGrpInOut[1] = new QRadioButton(QStringLiteral("배분이체"), kind);
    RdoGrpInOut[0]->setChecked(true);
    kl->addWidget(RdoGrpInOut[0]);
    kl->addWidget(RdoGrpInOut[1]);
    sel->addWidget(kind);

    auto* grid = new QGridLayout;
    MEdtYearMon = new QLineEdit(this);
    MEdtYearMon->setObjectName(QStringLiteral("MEdtYearMon"));
    MEdtYearMon->setInputMask(QStringLiteral("0000-00; "));
    MEdtYearMon->setMaximumWidth(80);
    MEdtSeqNo = new QLineEdit(this);
    MEdtSeqNo->setObjectName(QStringLiteral("MEdtSeqNo"));
    MEdtSeqNo->setInputMask(QStringLiteral("00; "));
    MEdtSeqNo->setReadOnly(true);
    MEdtSeqNo->setMaximumWidth(40);
    SBtnYearMonSelect = new QPushButton(QStringLiteral("선택"), this);
    SBtnYearMonSelect->setObjectName(QStringLiteral("SBtnYearMonSelect"));
    CbBank = new QComboBox(this);
    CbBank->setObjectName(QStringLiteral("CbBank"));
    CbBank->setMinimumWidth(150);
    CbItem = new QComboBox(this);
    CbItem->setObjectName(QStringLiteral("CbItem"));
    CbItem->setMinimumWidth(150);
    cbYearStudt = new QComboBox(this);
    cbYearStudt->setObjectName(QStringLiteral("cbYearStudt"));
    cbYearStudt->setMinimumWidth(120);
    MEdtSetlDt = new QLineEdit(this);
    MEdtSetlDt->setObjectName(QStringLiteral("MEdtSetlDt"));
    MEdtSetlDt->setInputMask(QStringLiteral("0000-00-00; "));
    MEdtSetlDt->setMaximumWidth(100);
    eGcode = new QLineEdit(QStringLiteral("01"), this);
    eGcode->setObjectName(QStringLiteral("eGcode"));
    eGcode->hide();
    auto* round = new QHBoxLayout;
    round->addWidget(MEdtYearMon);
    round->addWidget(new QLabel(QStringLiteral("회차"), this));
    round->addWidget(MEdtSeqNo);
    round->addWidget(SBtnYearMonSelect);
    grid->addWidget(new QLabel(QStringLiteral("작성년월"), this), 0, 0);
    grid->addLayout(round, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("은행"), this), 0, 2);
    grid->addWidget(CbBank, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("항목"), this), 0, 4);
    grid->addWidget(CbItem, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("학년"), this), 1, 0);
    grid->addWidget(cbYearStudt, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("이체일자"), this), 1, 2);
    grid->addWidget(MEdtSetlDt, 1, 3);
    sel->addLayout(grid);
    sel->addStretch();
    bbtnShftDateView = new QPushButton(QStringLiteral("자료조회"), this);
    bbtnShftDateView->setObjectName(QStringLiteral("bbtnShftDateView"));
    BbtnPrint = new QPushButton(QStringLiteral("인쇄"), this);
    BbtnPrint->setObjectName(QStringLiteral("BbtnPrint"));
    bbtnDone = new QPushButton(QStringLiteral("닫기"), this);
    bbtnDone->setObjectName(QStringLiteral("bbtnDone"));
    sel->addWidget(bbtnShftDateView);
    sel->addWidget(BbtnPrint);
    sel->addWidget(bbtnDone);
    top->addLayout(sel);

    // Column titles as panels over the title-less grid; each follows the
    // width of the columns it names.
    auto* heads = new QGridLayout;
    heads->setSpacing(0);
    PnlSelectTxt = panel(this, QStringLiteral("PnlSelectTxt"), QStringLiteral("학  년"), kWidths[0]);
    PnlSelectTxt->setFixedHeight(44);
    heads->addWidget(PnlSelectTxt, 0, 0, 2, 1);
    QLabel* cnt = panel(this, QStringLiteral("PnlCnt"), QStringLiteral("건    수"), 0);
    QLabel* amt = panel(this, QStringLiteral("PnlAmt"), QStringLiteral("금    액"), 0);
    heads->addWidget(cnt, 0, 1, 1, 6);
    heads->addWidget(amt, 0, 7, 1, 6);
    const QStringList states{QStringLiteral("처리"), QStringLiteral("미처리"),   QStringLiteral("면제"),
                             QStringLiteral("환불"), QStringLiteral("부분환불"), QStringLiteral("소계")};
    QLabel* head[13] = {PnlSelectTxt};
    for (int c = 1; c <= 12; ++c) {
        head[c] = panel(this, QStringLiteral("PnlHead%1").arg(c), states[(c - 1) % 6], kWidths[c]);
        heads->addWidget(head[c], 1, c);
    }
    heads->setColumnStretch(13, 1);
    auto* headRow = new QHBoxLayout;
    headRow->setSpacing(0);
    top->addLayout(headRow);

    SGrdSum = new QTableWidget(1, 13, this);
    SGrdSum->setObjectName(QStringLiteral("SGrdSum"));
    SGrdSum->horizontalHeader()->hide();
    SGrdSum->verticalHeader()->hide();
    SGrdSum->verticalHeader()->setDefaultSectionSize(20);
    for (int c = 0; c < 13; ++c)
        SGrdSum->setColumnWidth(c, kWidths[c]);
    SGrdSum->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGrdSum->setSelectionMode(QAbstractItemView::SingleSelection);
    SGrdSum->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGrdSum->setItemDelegate(new SumCell(SGrdSum));
    // The panels start where the grid's cells do, inside its frame.
    headRow->addSpacing(SGrdSum->frameWidth());
    headRow->addLayout(heads);
    top->addWidget(SGrdSum, 1);

    auto* foot = new QHBoxLayout;
    foot->setSpacing(0);
    foot->addSpacing(SGrdSum->frameWidth());
    auto* tot = panel(this, QStringLiteral("PnlTot"), QStringLiteral("총계"), kWidths[0]);
    tot->setMinimumHeight(tot->sizeHint().height());
    foot->addWidget(tot);
    static const char* names[12] = {
        "PnlTotProcCnt", "PnlTotNonProcCnt", "PnlTotExmptCnt", "PnlTotReCnt", "PnlTotReCnt2", "PnlTotSumCnt",
        "PnlTotProcAmt", "PnlTotNonProcAmt", "PnlTotExmptAmt", "PnlTotReAmt", "PnlTotReAmt2", "PnlTotSumAmt"};
    for (int i = 0; i < 12; ++i) {
        totals[i] = panel(this, QString::fromLatin1(names[i]), QString(), kWidths[i + 1]);
        totals[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        totals[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        foot->addWidget(totals[i]);
    }
    foot->addStretch();
    top->addLayout(foot);
    // Titles over and totals under the columns they name, as the columns
    // widen to their figures.
    for (int c = 0; c < 13; ++c)
        GridFit::followColumns(SGrdSum, head[c], c, c);
    GridFit::followColumns(SGrdSum, cnt, 1, 6);
    GridFit::followColumns(SGrdSum, amt, 7, 12);
    GridFit::followColumns(SGrdSum, tot, 0, 0);
    for (int i = 0; i < 12; ++i)
        GridFit::followColumns(SGrdSum, totals[i], i + 1, i + 1);

    PnlDispWait = new QLabel(QStringLiteral("자료집계 중입니다. 잠시만 기다려 주세요!"), this);
    PnlDispWait->setObjectName(QStringLiteral("PnlDispWait"));
    PnlDispWait->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PnlDispWait->setAlignment(Qt::AlignCenter);
    PnlDispWait->setAutoFillBackground(true);
    PnlDispWait->resize(360, 50);
    PnlDispWait->hide();
    TimeShow = new QTimer(this);
    TimeShow->setSingleShot(true);
    TimeShow->setInterval(1);

    // FormCreate.
    pLoadBanks(QStringLiteral("01"));
    fillItems();
    cbYearStudt->addItem(QStringLiteral("00.전학년"));
    cbYearStudt->addItems(gradeEntries());
    cbYearStudt->setCurrentIndex(0);

    connect(SBtnYearMonSelect, &QPushButton::clicked, this, [this] { SBtnYearMonSelectClick(); });
    connect(bbtnShftDateView, &QPushButton::clicked, this, [this] { bbtnShftDateViewClick(); });
    connect(TimeShow, &QTimer::timeout, this, [this] { TimeShowTimer(); });
    connect(BbtnPrint, &QPushButton::clicked, this, [this] { BbtnPrintClick(); });
    connect(bbtnDone, &QPushButton::clicked, this, [this] { close(); });
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus) w->installEventFilter(this);
}

TFrmM302B00::~TFrmM302B00() {
    if (FrmM302B00 == this) FrmM302B00 = nullptr;
}

bool TFrmM302B00::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress && isEnterKey(static_cast<QKeyEvent*>(e))) {
        focusNextChild();
        return true;
    }
    return QWidget::eventFilter(o, e);
}

void TFrmM302B00::pLoadBanks(const QString& gcode) {
    CbBank->clear();
    CbBank->addItem(QStringLiteral("00.모든은행"));
    CbBank->addItems(bankEntries(gcode));
    CbBank->setCurrentIndex(0);
}

void TFrmM302B00::fillItems() {
    CbItem->clear();
    CbItem->addItem(QStringLiteral("00.모든항목"));
    if (DMData) CbItem->addItems(DMData->ItemTexts());
    CbItem->setCurrentIndex(0);
}

RoundTotals::Selection TFrmM302B00::selection() const {
    Selection s;
    s.kind = RdoGrpInOut[1]->isChecked() ? Kind::Distribution : Kind::Collection;
    s.yearMon = TDMLib::DigitsOnly(MEdtYearMon->text());
    s.seqNo = MEdtSeqNo->text().trimmed();
    s.grade = cbYearStudt->currentText().section(QLatin1Char('.'), 0, 0);
    s.bank = CbBank->currentText().left(2);
    s.item = CbItem->currentText().left(2);
    s.date = TDMLib::DigitsOnly(MEdtSetlDt->text());
    return s;
}

void TFrmM302B00::SBtnYearMonSelectClick() {
    QString ym, ss;
    if (!RdoGrpInOut[1]->isChecked()) {
        TFrmM101B02 dlg(this);
        if (Modal::exec(&dlg) != QDialog::Accepted) return;
        ym = dlg.yearMon();
        ss = dlg.seqNo();
    } else {
        TFrmM102B02 dlg(this);
        dlg.EdGcode->setText(eGcode->text());
        if (Modal::exec(&dlg) != QDialog::Accepted) return;
        ym = dlg.yearMon();
        ss = dlg.seqNo();
    }
    if (ym.isEmpty()) return;
    MEdtYearMon->setText(ym);
    MEdtSeqNo->setText(ss);
    MEdtSeqNo->setFocus();
    if (RdoGrpInOut[1]->isChecked()) return;
    // A collection round brings its item group's banks and items.
    const QString g = roundGroup(QStringLiteral("H_200_") + ym + ss);
    if (!g.isEmpty()) eGcode->setText(g);
    if (DMData) DMData->SetItemGroup(eGcode->text());
    pLoadBanks(eGcode->text());
    fillItems();
}

void TFrmM302B00::bbtnShftDateViewClick() {
    if (TDMLib::DigitsOnly(MEdtYearMon->text()).isEmpty() || MEdtSeqNo->text().trimmed().isEmpty()) {
        Msg::error(QStringLiteral("입력요망"), kMissingRound, this);
        return;
    }
    SGrdSum->clearContents();
    SGrdSum->setRowCount(1);
    PnlDispWait->move((width() - PnlDispWait->width()) / 2, (height() - PnlDispWait->height()) / 2);
    PnlDispWait->raise();
    PnlDispWait->show();
    TimeShow->start();
}

void TFrmM302B00::TimeShowTimer() {
    TimeShow->stop();
    const Selection s = selection();
    QStringList grades;
    for (int i = 1; i < cbYearStudt->count(); ++i)
        grades << cbYearStudt->itemText(i);
    QString err;
    const bool ok = run(s, grades, &result_, &err);
    PnlDispWait->hide();
    if (!ok) {
        result_ = Result{};
        Msg::error(QStringLiteral("오류"), err, this);
        return;
    }
    PnlSelectTxt->setText(result_.byClass ? QStringLiteral("반") : QStringLiteral("학  년"));
    SGrdSum->setRowCount(std::max<int>(1, int(result_.lines.size())));
    for (int r = 0; r < result_.lines.size(); ++r) {
        const QStringList c = cells(result_.lines[r]);
        SGrdSum->setItem(r, 0, new QTableWidgetItem(c.value(0)));
        // Counts and amounts come padded to their printed widths.
        for (int col = 1; col < 13; ++col)
            SGrdSum->setItem(r, col, GridFit::figureItem(c.value(col)));
    }
    GridFit::widenToContents(SGrdSum);
    const QStringList t = totalTexts(result_.total);
    for (int i = 0; i < 12; ++i)
        totals[i]->setText(t.value(i));
}

void TFrmM302B00::BbtnPrintClick() {
    PrintCondition c;
    c.bank = CbBank->currentText();
    c.item = CbItem->currentText();
    c.yearMon = TDMLib::DigitsOnly(MEdtYearMon->text());
    c.grade = cbYearStudt->currentText();
    c.seqNo = MEdtSeqNo->text();
    print(result_, c).preview(this);
}
