#include "reports/ReportForm.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Cp949Validator.h"
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
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QVarLengthArray>

namespace {

QLineEdit* digitsEdit(QWidget* owner, const char* name, int len) {
    auto* e = new QLineEdit(owner);
    e->setObjectName(QString::fromLatin1(name));
    Cp949Validator::limit(e, len, true);
    e->setMaximumWidth(18 + 9 * len);
    return e;
}

// A label shows and hides with the control it names, so a window that has
// no use for a control takes its label away too.
class LabelFollows : public QObject {
public:
    LabelFollows(QLabel* label, QWidget* control) : QObject(label), label_(label) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::HideToParent) label_->setVisible(false);
        if (event->type() == QEvent::ShowToParent) label_->setVisible(true);
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel* label_;
};

QLabel* labelFor(QWidget* control, const QString& text, QWidget* owner) {
    auto* l = new QLabel(text, owner);
    l->setBuddy(control);
    new LabelFollows(l, control);
    return l;
}

// The digits of a masked year-month edit ("2026/03" holds "202603").
QString digits(const QLineEdit* e) {
    QString t = e->text();
    t.remove(QLatin1Char('-'));
    return t.trimmed();
}

} // namespace

TReportSelectForm::TReportSelectForm(const QString& reportName, QWidget* parent)
    : QWidget(parent), entry_(ReportCatalog::find(reportName)) {
    setAttribute(Qt::WA_DeleteOnClose);
    if (entry_) setWindowTitle(entry_->caption);
    auto* top = new QVBoxLayout(this);
    auto* box = new QGroupBox(QStringLiteral("조회조건"), this);
    auto* g = new QGridLayout(box);
    cboGroup = new QComboBox(box);
    CbBank = new QComboBox(box);
    CbBank->setEditable(true);
    CbBank->installEventFilter(this);
    cboBUNGI = new QComboBox(box);
    cboBUNGI->addItems(Rounds::kQuarterEntries);
    cboBUNGI->installEventFilter(this);
    MEdtYearMon = new QLineEdit(box);
    MEdtYearMon_2 = new QLineEdit(box);
    for (QLineEdit* e : {MEdtYearMon, MEdtYearMon_2}) {
        e->setInputMask(QStringLiteral("0000-00;_"));
        e->setMaximumWidth(80);
    }
    MEdtSeqNo = digitsEdit(box, "MEdtSeqNo", 2);
    MEdtSeqNo_2 = digitsEdit(box, "MEdtSeqNo_2", 2);
    SBtnYearMonSelect = new QPushButton(QStringLiteral("선택"), box);
    SBtnYearMonSelect_2 = new QPushButton(QStringLiteral("선택"), box);
    SHakFromEdit = digitsEdit(box, "SHakFromEdit", 1);
    SBanFromEdit = digitsEdit(box, "SBanFromEdit", 2);
    SBunFromEdit = digitsEdit(box, "SBunFromEdit", SNoLen - 3);
    SHakToEdit = digitsEdit(box, "SHakToEdit", 1);
    SBanToEdit = digitsEdit(box, "SBanToEdit", 2);
    SBunToEdit = digitsEdit(box, "SBunToEdit", SNoLen - 3);
    CLbItem = new QListWidget(box);
    CLbItem->setMaximumHeight(110);

    g->addWidget(labelFor(cboGroup, QStringLiteral("항목그룹"), box), 0, 0);
    g->addWidget(cboGroup, 0, 1);
    g->addWidget(labelFor(CbBank, QStringLiteral("은    행"), box), 1, 0);
    g->addWidget(CbBank, 1, 1);
    g->addWidget(labelFor(cboBUNGI, QStringLiteral("분    기"), box), 2, 0);
    g->addWidget(cboBUNGI, 2, 1);
    auto* rounds = new QHBoxLayout;
    rounds->addWidget(MEdtYearMon);
    rounds->addWidget(MEdtSeqNo);
    rounds->addWidget(SBtnYearMonSelect);
    rounds->addWidget(labelFor(MEdtYearMon_2, QStringLiteral("~"), box));
    rounds->addWidget(MEdtYearMon_2);
    rounds->addWidget(MEdtSeqNo_2);
    rounds->addWidget(SBtnYearMonSelect_2);
    rounds->addStretch();
    g->addWidget(labelFor(MEdtYearMon, QStringLiteral("작성년월/회차"), box), 3, 0);
    g->addLayout(rounds, 3, 1);
    auto* sno = new QHBoxLayout;
    for (QLineEdit* e : {SHakFromEdit, SBanFromEdit, SBunFromEdit})
        sno->addWidget(e);
    sno->addWidget(new QLabel(QStringLiteral("~"), box));
    for (QLineEdit* e : {SHakToEdit, SBanToEdit, SBunToEdit})
        sno->addWidget(e);
    sno->addStretch();
    g->addWidget(labelFor(SHakFromEdit, QStringLiteral("학    번"), box), 4, 0);
    g->addLayout(sno, 4, 1);
    g->addWidget(labelFor(CLbItem, QStringLiteral("항    목"), box), 0, 2);
    g->addWidget(CLbItem, 0, 3, 5, 1);
    extra = new QGridLayout;
    g->addLayout(extra, 0, 4, 5, 1);
    top->addWidget(box);

    grid = new QTableWidget(1, 0, this);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setDefaultSectionSize(20);
    // The titles show before the first listing.
    if (entry_ && !entry_->columns.isEmpty()) {
        grid->setColumnCount(int(entry_->columns.size()));
        grid->setHorizontalHeaderLabels(entry_->columns);
    }
    top->addWidget(grid, 1);
    auto* foot = new QHBoxLayout;
    pnlTotCnt = new QLabel(QStringLiteral("0"), this);
    pnlTotAmt = new QLabel(QStringLiteral("0"), this);
    bbtnSearch = new QPushButton(QStringLiteral("자료조회"), this);
    bbtnPrint = new QPushButton(QStringLiteral("인쇄"), this);
    bbtnDone = new QPushButton(QStringLiteral("닫기"), this);
    foot->addWidget(new QLabel(QStringLiteral("총건수"), this));
    foot->addWidget(pnlTotCnt);
    foot->addWidget(new QLabel(QStringLiteral("총금액"), this));
    foot->addWidget(pnlTotAmt);
    foot->addStretch();
    for (QPushButton* b : {bbtnSearch, bbtnPrint, bbtnDone})
        foot->addWidget(b);
    top->addLayout(foot);

    for (QLineEdit* e : {SHakFromEdit, SBanFromEdit, SBunFromEdit, SHakToEdit, SBanToEdit, SBunToEdit})
        e->installEventFilter(this);
    connect(cboGroup, &QComboBox::activated, this, [this](int) { cboGroupChange(); });
    connect(cboBUNGI, &QComboBox::activated, this, [this](int) { cboBUNGIChange(); });
    connect(SBtnYearMonSelect, &QPushButton::clicked, this, [this] { pickRound(1); });
    connect(SBtnYearMonSelect_2, &QPushButton::clicked, this, [this] { pickRound(2); });
    connect(bbtnSearch, &QPushButton::clicked, this, &TReportSelectForm::search);
    connect(bbtnPrint, &QPushButton::clicked, this, &TReportSelectForm::print);
    connect(bbtnDone, &QPushButton::clicked, this, &QWidget::close);

    DMData->FillGroupCombo(cboGroup, QStringLiteral("00"));
    cboGroup->setCurrentIndex(0);
    cboGroupChange();
    clearGrid();
}

void TReportSelectForm::cboGroupChange() {
    const QString gc = cboGroup->currentText().left(2);
    CLbItem->clear();
    Query q(QStringLiteral("SELECT ItemID, ItemNm FROM C_ITEM WHERE Gcode = ? AND ItemNm <> '' ORDER BY ItemID"));
    q.add(gc);
    if (q.exec())
        while (q.next()) {
            auto* it = new QListWidgetItem(q.str(0) + QLatin1Char('.') + q.str(1), CLbItem);
            it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
            it->setCheckState(Qt::Unchecked);
        }
    CbBank->clear();
    CbBank->addItem(QStringLiteral("00.모든은행"));
    Query b(QStringLiteral("SELECT T1.BankCd, T2.BankNm FROM C_ACCT T1, C_BANK T2 WHERE T1.BankCd = T2.BankCd "
                           "AND T1.Gcode = ? GROUP BY T1.BankCd, T2.BankNm ORDER BY T1.BankCd"));
    b.add(gc);
    if (b.exec())
        while (b.next())
            CbBank->addItem(b.str(0) + QLatin1Char('.') + b.str(1));
    CbBank->setCurrentIndex(0);
}

void TReportSelectForm::cboBUNGIChange() {
    MEdtYearMon->clear();
    MEdtSeqNo->clear();
    quarterChanged();
    clearGrid();
}

void TReportSelectForm::pickRound(int which) {
    const QString mask = Rounds::quarterMask(cboBUNGI->currentIndex(), Clock::today());
    if (Rounds::tablesByMask(mask).isEmpty()) {
        Rounds::plainBox(QStringLiteral("해당하는 자료가 존재하지 없습니다."));
        return;
    }
    QLineEdit* ym = which == 1 ? MEdtYearMon : MEdtYearMon_2;
    QLineEdit* seq = which == 1 ? MEdtSeqNo : MEdtSeqNo_2;
    // A window may refuse the round picked; the pick then starts again.
    for (;;) {
        TFrmM101B02 dlg(this);
        dlg.InitAction(mask);
        if (pickOfGroup) dlg.EdGcode->setText(cboGroup->currentText().left(2));
        if (Modal::exec(&dlg) != QDialog::Accepted) return;
        ym->setText(dlg.yearMon());
        seq->setText(dlg.seqNo());
        seq->setFocus();
        if (roundPicked(dlg.yearMon(), dlg.seqNo())) return;
    }
}

ReportSelection TReportSelectForm::selection() const {
    ReportSelection s;
    s.gcode = cboGroup->currentText().left(2);
    for (int i = 0; i < CLbItem->count(); ++i)
        if (CLbItem->item(i)->checkState() == Qt::Checked) s.itemIds << CLbItem->item(i)->text().left(2);
    s.bank = CbBank->currentText().left(2);
    // A bank box left with a code that begins no entry means every bank.
    if (CbBank->findText(s.bank, Qt::MatchStartsWith) < 0) s.bank = QStringLiteral("00");
    s.quarter = cboBUNGI->currentIndex();
    s.ym1 = digits(MEdtYearMon);
    s.seq1 = MEdtSeqNo->text().trimmed();
    s.ym2 = digits(MEdtYearMon_2);
    s.seq2 = MEdtSeqNo_2->text().trimmed();
    s.hak1 = SHakFromEdit->text();
    s.ban1 = SBanFromEdit->text();
    s.bun1 = SBunFromEdit->text();
    s.hak2 = SHakToEdit->text();
    s.ban2 = SBanToEdit->text();
    s.bun2 = SBunToEdit->text();
    fillExtra(s);
    return s;
}

void TReportSelectForm::clearGrid() {
    listing_ = ReportListing{};
    grid->clearContents();
    grid->setRowCount(1);
    pnlTotCnt->setText(QStringLiteral("0"));
    pnlTotAmt->setText(QStringLiteral("0"));
}

void TReportSelectForm::search() {
    if (!entry_) return;
    const ReportSelection s = selection();
    listing_ = entry_->list(s);
    if (listing_.box) {
        const ReportBox box = *listing_.box;
        clearGrid();
        box.show(this);
        return;
    }
    showListing();
}

void TReportSelectForm::showListing() {
    grid->clearContents();
    grid->setColumnCount(int(listing_.columns.size()));
    grid->setHorizontalHeaderLabels(listing_.columns);
    grid->setRowCount(std::max<int>(1, int(listing_.rows.size())));
    // Amounts, and figures the listing pads to their printed width, show
    // trimmed and right-aligned; a column is judged by its first value.
    const int amountCol = int(listing_.columns.indexOf(QStringLiteral("금액")));
    QList<int> figures;
    for (int c = 0; c < listing_.columns.size(); ++c) {
        for (const QStringList& row : listing_.rows)
            if (c < row.size() && !row.at(c).isEmpty()) {
                if (c == amountCol || GridFit::isPaddedFigure(row.at(c))) figures << c;
                break;
            }
    }
    QVarLengthArray<bool, 16> figure(listing_.columns.size());
    for (int c = 0; c < figure.size(); ++c)
        figure[c] = figures.contains(c);
    for (int r = 0; r < listing_.rows.size(); ++r) {
        const QStringList& row = listing_.rows.at(r);
        for (int c = 0; c < row.size(); ++c)
            grid->setItem(r, c,
                          c < figure.size() && figure[c] ? GridFit::figureItem(row.at(c))
                                                         : new QTableWidgetItem(row.at(c)));
    }
    GridFit::widenToRows(grid, listing_.rows, figures);
    pnlTotCnt->setText(ReportSelect::amount(listing_.count, 0));
    pnlTotAmt->setText(ReportSelect::amount(listing_.total, 0));
}

void TReportSelectForm::showEvent(QShowEvent* event) {
    // The windows set their own widths after this base; titles still show whole.
    GridFit::widenToContents(grid);
    QWidget::showEvent(event);
}

void TReportSelectForm::print() {
    if (!entry_ || listing_.rows.isEmpty()) return;
    ReportDocument doc;
    if (const std::optional<ReportBox> box = entry_->print(selection(), &doc)) {
        box->show(this);
        return;
    }
    doc.preview(this);
}

bool TReportSelectForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched == CbBank) {
        const QString t = CbBank->currentText().left(2);
        const int at = t.size() == 2 ? CbBank->findText(t, Qt::MatchStartsWith) : -1;
        CbBank->setCurrentIndex(at < 0 ? 0 : at);
    }
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* k = static_cast<QKeyEvent*>(event);
    // The quarter comes from the list only.
    if (watched == cboBUNGI && k->key() != Qt::Key_Up && k->key() != Qt::Key_Down && k->key() != Qt::Key_Tab)
        return true;
    const QList<QLineEdit*> chain{SHakFromEdit, SBanFromEdit, SBunFromEdit, SHakToEdit, SBanToEdit, SBunToEdit};
    const int at = int(chain.indexOf(qobject_cast<QLineEdit*>(watched)));
    if (at >= 0 && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
        if (at + 1 < chain.size())
            chain.at(at + 1)->setFocus();
        else
            focusNextChild();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
