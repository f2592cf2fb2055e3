#include "reports/P101B00.h"

#include "data/DMMain.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/GridFit.h"
#include "platform/ui/Modal.h"
#include "transfers/common/M101B02.h"
#include "transfers/common/Rounds.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>

TFrmP101B00* FrmP101B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P101B00"), QStringLiteral("수입명세서"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP101B00(parent); }});

QString digits(const QLineEdit* e) {
    QString t = e->text();
    t.remove(QLatin1Char('-'));
    return t.trimmed();
}

} // namespace

TFrmP101B00::TFrmP101B00(QWidget* parent) : QWidget(parent) {
    FrmP101B00 = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("수입명세서"));
    auto* top = new QVBoxLayout(this);
    auto* box = new QGroupBox(QStringLiteral("조회조건"), this);
    auto* g = new QGridLayout(box);
    cboGroup = new QComboBox(box);
    CbItem = new QComboBox(box);
    CbItem->setMinimumWidth(180);
    CbBank = new QComboBox(box);
    CbBank->setEditable(true);
    cboBUNGI = new QComboBox(box);
    cboBUNGI->addItems(Rounds::kQuarterEntries);
    cboBUNGI->installEventFilter(this);
    MEdtYearMon = new QLineEdit(box);
    MEdtYearMon->setInputMask(QStringLiteral("0000-00;_"));
    MEdtYearMon->setMaximumWidth(80);
    MEdtSeqNo = new QLineEdit(box);
    Cp949Validator::limit(MEdtSeqNo, 2, true);
    MEdtSeqNo->setMaximumWidth(40);
    MEdtSetlDt = new QLineEdit(box);
    MEdtSetlDt->setInputMask(QStringLiteral("0000-00-00;_"));
    MEdtSetlDt->setMaximumWidth(100);
    SBtnYearMonSelect = new QPushButton(QStringLiteral("선택"), box);
    g->addWidget(new QLabel(QStringLiteral("항목그룹"), box), 0, 0);
    g->addWidget(cboGroup, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("항    목"), box), 1, 0);
    g->addWidget(CbItem, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("은    행"), box), 2, 0);
    g->addWidget(CbBank, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("분    기"), box), 0, 2);
    g->addWidget(cboBUNGI, 0, 3);
    auto* ym = new QHBoxLayout;
    ym->addWidget(MEdtYearMon);
    ym->addWidget(SBtnYearMonSelect);
    ym->addStretch();
    g->addWidget(new QLabel(QStringLiteral("작성년월"), box), 1, 2);
    g->addLayout(ym, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("회    차"), box), 2, 2);
    g->addWidget(MEdtSeqNo, 2, 3);
    g->addWidget(new QLabel(QStringLiteral("이체일자"), box), 3, 2);
    g->addWidget(MEdtSetlDt, 3, 3);
    g->setColumnStretch(4, 1);
    top->addWidget(box);

    TabIncom = new QTabBar(this);
    for (int i = 1; i <= Income::kGrades; ++i)
        TabIncom->addTab(QStringLiteral("%1 학년").arg(i));
    top->addWidget(TabIncom);
    SGrdIncom = new QTableWidget(Income::kClasses, 6, this);
    SGrdIncom->setHorizontalHeaderLabels({QStringLiteral("반별"), QStringLiteral("조정액"),
                                          QStringLiteral("금일수입 인 원"), QStringLiteral("금일수입 금  액"),
                                          QStringLiteral("수입누계"), QStringLiteral("미수입액")});
    const int widths[] = {55, 92, 63, 92, 92, 93};
    for (int i = 0; i < 6; ++i)
        SGrdIncom->setColumnWidth(i, widths[i] + 20);
    SGrdIncom->verticalHeader()->setVisible(false);
    SGrdIncom->verticalHeader()->setDefaultSectionSize(20);
    SGrdIncom->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGrdIncom->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < Income::kClasses; ++r)
        SGrdIncom->setItem(
            r, 0, new QTableWidgetItem(QStringLiteral(" %1 반").arg(r + 1, 2, 10, QLatin1Char('0'))));
    top->addWidget(SGrdIncom, 1);

    // The grade totals stand under the columns they sum, "합계" under the
    // class column, as the printed statement's total line.
    auto* foot = new QHBoxLayout;
    foot->setSpacing(0);
    foot->addSpacing(SGrdIncom->frameWidth());
    auto* title = new QLabel(QStringLiteral("합계"), this);
    title->setObjectName(QStringLiteral("PnlSumTitle"));
    title->setAlignment(Qt::AlignCenter);
    title->setFrameShape(QFrame::Panel);
    foot->addWidget(title);
    GridFit::followColumns(SGrdIncom, title, 0, 0);
    for (int i = 0; i < 5; ++i) {
        QLabel*& p = PnlSum[i];
        p = new QLabel(this);
        p->setObjectName(QStringLiteral("PnlSum%1").arg(i + 1));
        p->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        p->setFrameShape(QFrame::Panel);
        foot->addWidget(p);
        GridFit::followColumns(SGrdIncom, p, i + 1, i + 1);
    }
    foot->addStretch();
    foot->addSpacing(6);
    bbtnShftDateView = new QPushButton(QStringLiteral("자료조회"), this);
    BbtnPrint = new QPushButton(QStringLiteral("인쇄"), this);
    bbtnDone = new QPushButton(QStringLiteral("닫기"), this);
    for (QPushButton* b : {bbtnShftDateView, BbtnPrint, bbtnDone})
        foot->addWidget(b);
    top->addLayout(foot);

    connect(cboGroup, &QComboBox::activated, this, [this](int) { cboGroupChange(); });
    connect(cboBUNGI, &QComboBox::activated, this, [this](int) { cboBUNGIChange(); });
    connect(MEdtYearMon, &QLineEdit::textChanged, MEdtSetlDt, &QLineEdit::clear);
    connect(MEdtSeqNo, &QLineEdit::textChanged, MEdtSetlDt, &QLineEdit::clear);
    connect(SBtnYearMonSelect, &QPushButton::clicked, this, &TFrmP101B00::SBtnYearMonSelectClick);
    connect(bbtnShftDateView, &QPushButton::clicked, this, &TFrmP101B00::bbtnShftDateViewClick);
    connect(TabIncom, &QTabBar::currentChanged, this, [this](int) { TabIncomClick(); });
    connect(BbtnPrint, &QPushButton::clicked, this, &TFrmP101B00::BbtnPrintClick);
    connect(bbtnDone, &QPushButton::clicked, this, &QWidget::close);

    DMData->FillGroupCombo(cboGroup, QStringLiteral("00"));
    cboGroup->setCurrentIndex(0);
    cboGroupChange();
    clearFigures();
}

TFrmP101B00::~TFrmP101B00() {
    if (FrmP101B00 == this) FrmP101B00 = nullptr;
}

void TFrmP101B00::cboGroupChange() {
    const QString gc = cboGroup->currentText().left(2);
    CbBank->clear();
    CbBank->addItem(QStringLiteral("00.모든은행"));
    Query b(
        QStringLiteral("SELECT T1.BankCd, T2.BankNm FROM C_ACCT T1, C_BANK T2 WHERE T1.BankCd = T2.BankCd "
                       "AND T1.Gcode = ? GROUP BY T1.BankCd, T2.BankNm ORDER BY T1.BankCd"));
    b.add(gc);
    if (b.exec())
        while (b.next())
            CbBank->addItem(b.str(0) + QLatin1Char('.') + b.str(1));
    CbBank->setCurrentIndex(0);
    CbItem->clear();
    CbItem->addItem(QStringLiteral("00.모든항목"), QStringLiteral("00"));
    Query q(
        QStringLiteral("SELECT A.ItemID, A.ItemNm, B.G_NAME FROM C_ITEM AS A, G_GROUP AS B WHERE A.Gcode = "
                       "B.G_CODE AND A.Gcode = ? AND A.ItemNm <> '' ORDER BY A.Gcode, A.ItemID"));
    q.add(gc);
    if (q.exec())
        while (q.next())
            CbItem->addItem(q.str(0) + QLatin1Char('.') + q.str(1) + QStringLiteral(" : ") + q.str(2),
                            q.str(0));
    CbItem->setCurrentIndex(0);
}

void TFrmP101B00::clearFigures() {
    for (int r = 0; r < Income::kClasses; ++r)
        for (int c = 1; c < 6; ++c)
            SGrdIncom->setItem(r, c, new QTableWidgetItem);
    for (QLabel* p : PnlSum)
        p->clear();
}

void TFrmP101B00::cboBUNGIChange() {
    MEdtYearMon->clear();
    MEdtSeqNo->clear();
    MEdtSetlDt->clear();
    table_.clear();
    clearFigures();
    focusNextChild();
}

void TFrmP101B00::SBtnYearMonSelectClick() {
    const QString mask = Rounds::quarterMask(cboBUNGI->currentIndex(), Clock::today());
    if (Rounds::tablesByMask(mask).isEmpty()) {
        Rounds::plainBox(QStringLiteral("해당하는 자료가 존재하지 없습니다."));
        return;
    }
    TFrmM101B02 dlg(this);
    dlg.InitAction(mask);
    dlg.EdGcode->setText(cboGroup->currentText().left(2));
    if (Modal::exec(&dlg) != QDialog::Accepted || dlg.yearMon().isEmpty()) return;
    MEdtYearMon->setText(dlg.yearMon());
    MEdtSeqNo->setText(dlg.seqNo());
    MEdtSeqNo->setFocus();
    MEdtSetlDt->clear();
}

ReportSelection TFrmP101B00::selection() const {
    ReportSelection s;
    s.gcode = cboGroup->currentText().left(2);
    // A typed bank is taken as its code stands.
    s.bank = CbBank->currentText().left(2);
    s.quarter = cboBUNGI->currentIndex();
    s.ym1 = digits(MEdtYearMon);
    s.seq1 = MEdtSeqNo->text().trimmed();
    s.extra.insert(QStringLiteral("item"), CbItem->currentData().toString());
    s.extra.insert(QStringLiteral("day"), digits(MEdtSetlDt));
    return s;
}

void TFrmP101B00::bbtnShftDateViewClick() {
    const ReportSelection s = selection();
    QString day;
    if (s.ym1.isEmpty() || s.seq1.isEmpty()) {
        ReportBox{QStringLiteral("입력요망"), QStringLiteral("이체년월과 회차는 반드시 입력하세요!!"),
                  MsgIcon::Error}
            .show(this);
        return;
    }
    clearFigures();
    if (const std::optional<ReportBox> box = Income::compute(s, &table_, &day)) {
        box->show(this);
        return;
    }
    if (digits(MEdtSetlDt).isEmpty() && !day.isEmpty()) MEdtSetlDt->setText(day);
    showGrade(TabIncom->currentIndex() + 1);
}

void TFrmP101B00::TabIncomClick() {
    clearFigures();
    showGrade(TabIncom->currentIndex() + 1);
}

void TFrmP101B00::showGrade(int grade) {
    const auto cell = [](qint64 v, int width) { return GridFit::figureItem(ReportSelect::amount(v, width)); };
    using namespace Income;
    for (int c = 1; c <= kClasses; ++c) {
        const Figures f = table_.at(grade, c);
        SGrdIncom->setItem(c - 1, 1, cell(f[Adjust], 12));
        SGrdIncom->setItem(c - 1, 2, cell(f[PersonsToday], 8));
        SGrdIncom->setItem(c - 1, 3, cell(f[AmtToday], 12));
        SGrdIncom->setItem(c - 1, 4, cell(f[AmtToday] + f[AmtBefore], 12));
        SGrdIncom->setItem(c - 1, 5, cell(f[NotReceived], 12));
    }
    const Figures t = table_.total(grade);
    const qint64 sums[5] = {t[Adjust], t[PersonsToday], t[AmtToday], t[AmtToday] + t[AmtBefore],
                            t[NotReceived]};
    for (int i = 0; i < 5; ++i)
        PnlSum[i]->setText(ReportSelect::amount(sums[i], 0) + QLatin1Char(' '));
    GridFit::widenToContents(SGrdIncom);
}

void TFrmP101B00::BbtnPrintClick() {
    if (!Income::elementary()) {
        Income::sheetP01(table_).preview(this);
        return;
    }
    Income::sheetP00(table_).preview(this);
    if (table_.upper) Income::sheetP04(table_).preview(this);
}

bool TFrmP101B00::eventFilter(QObject* watched, QEvent* event) {
    // The quarter comes from the list only.
    if (watched == cboBUNGI && event->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() != Qt::Key_Up && k->key() != Qt::Key_Down && k->key() != Qt::Key_Tab) return true;
    }
    return QWidget::eventFilter(watched, event);
}
