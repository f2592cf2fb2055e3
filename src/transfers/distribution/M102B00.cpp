#include "transfers/distribution/M102B00.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "shared/F201B03.h"
#include "transfers/common/RowEdits.h"
#include "transfers/common/KeyEdit.h"
#include "transfers/distribution/DistribRequest.h"
#include "transfers/distribution/M102B01.h"
#include "transfers/distribution/M102B02.h"
#include "transfers/distribution/M102B07.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <memory>

TFrmM102B00* FrmM102B00 = nullptr;

namespace {

const QString kMark = QStringLiteral("◎");

const WorkColumn kColumns[DistCol::Count] = {
    {u"학번", 50}, {u"성명", 70}, {u"은행", 70},   {u"계좌번호", 100}, {u"금액", 80},
    {u"면제", 0},  {u"이체", 50}, {u"이체일", 90}, {u"항목명", 70},    {u"선택", 30},
};

QString numText(qint64 n) {
    return QLocale(QLocale::Korean).toString(n) + QLatin1Char(' ');
}

// Column 7 of a listed row: a reply code that says something, else the
// transfer date.
QString dateText(const DistribList::Row& r) {
    bool isNum = false;
    const qint64 code = r.ReplyCd.trimmed().toLongLong(&isNum);
    if (!r.ReplyCd.isEmpty() && (!isNum || code != 0)) return r.ReplyCd;
    if (r.ProcDt.size() == 8)
        return r.ProcDt.left(4) + QLatin1Char('-') + r.ProcDt.mid(4, 2) + QLatin1Char('-') +
               r.ProcDt.mid(6, 2);
    return r.ProcDt;
}

// ---- dialogs reached by unit name

bool registered(const QString& unit) {
    const FormEntry* e = FormRegistry::find(unit);
    return e && e->create;
}

std::unique_ptr<QDialog> openUnit(const QString& unit, QWidget* parent) {
    const FormEntry* e = FormRegistry::find(unit);
    if (!e || !e->create) return nullptr;
    QWidget* w = e->create(parent);
    auto* d = qobject_cast<QDialog*>(w);
    if (!d) {
        delete w;
        return nullptr;
    }
    return std::unique_ptr<QDialog>(d);
}

// Amounts are whole won: a typo is refused, never saved as 0.
std::optional<qint64> amountOf(const QString& text, QWidget* parent) {
    const std::optional<qint64> a = RowEdit::parseAmount(text);
    if (!a) Msg::error(QStringLiteral("금액오류"), QStringLiteral("금액은 숫자로만 입력하세요!"), parent);
    return a;
}

} // namespace

// ---- grid

TDistGridModel::TDistGridModel(QObject* parent) : TWorkGridModel(kColumns, DistCol::Count, parent) {}

QVariant TDistGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const QStringList& r = rows_[index.row()];
    const int col = index.column();
    const QString v = r.value(col);
    if (role == Qt::EditRole) return v;
    if (role == Qt::TextAlignmentRole) {
        if (col == DistCol::Amt) return int(Qt::AlignRight | Qt::AlignVCenter);
        if (col == DistCol::Mark) return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::ForegroundRole) return {};
    const bool fg = role == Qt::ForegroundRole;
    switch (col) {
    case DistCol::Bank:
        return fg ? QVariant(QColor(Qt::black)) : QVariant(v.isEmpty() ? v : DMData->GetBankName(v));
    case DistCol::Amt:
        if (fg) return QColor(Qt::black);
        if (v.isEmpty()) return v;
        return numText(v.toLongLong());
    case DistCol::Exemp:
        return exempCell(v, fg);
    case DistCol::Reply:
        return replyCell(v, fg);
    case DistCol::Date:
        return dateCell(v, r.value(DistCol::Bank), fg);
    case DistCol::Item:
        return fg ? QVariant() : QVariant(v.isEmpty() ? v : DMData->GetItemName(v));
    default:
        return fg ? QVariant() : QVariant(v);
    }
}

TWorkGridModel::Shown TDistGridModel::shown(int col) const {
    switch (col) {
    case DistCol::Bank:
    case DistCol::Amt:
    case DistCol::Exemp:
    case DistCol::Reply:
    case DistCol::Item:
        return {false};
    case DistCol::Date:
        return {false, DistCol::Bank};
    default:
        return {};
    }
}

TDistGrid::TDistGrid(QWidget* parent) : TWorkGrid(new TDistGridModel, parent) {
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        if (onAct) onAct(i.row(), i.column());
    });
}

void TDistGrid::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && currentIndex().isValid()) {
        if (onAct) onAct(currentIndex().row(), currentIndex().column());
        e->accept();
        return;
    }
    TWorkGrid::keyPressEvent(e);
}

// ---- window

TFrmM102B00::TFrmM102B00(QWidget* parent) : TWorkWindow(parent) {
    FrmM102B00 = this;
    setWindowTitle(QStringLiteral("배분이체자료작성"));
    buildControls();

    MEdtNo->setInputMask(SNoLen == 6 ? QStringLiteral("9-99-999; ") : QStringLiteral("9-99-99; "));
    showNewestRound(Database::listTables(QStringLiteral("H_300_[0-9]*")));
    fillGroupCombo();
    LoadBankCombo();
    fillItems();
    ClearGrid();
    updateDialogButtons();
}

TFrmM102B00::~TFrmM102B00() {
    if (FrmM102B00 == this) FrmM102B00 = nullptr;
}

void TFrmM102B00::buildControls() {
    auto* lay = new QVBoxLayout(this);

    auto* sel = new QGridLayout;
    makeRoundLine();
    CbBank->setMinimumWidth(150);
    MEdtNo = new TKeyEdit(this);
    MEdtSetlDt = new TKeyEdit(this);
    MEdtSetlDt->setInputMask(QStringLiteral("9999-99-99; "));
    int c = 0;
    auto add = [&](const QString& label, QWidget* w, int row) {
        sel->addWidget(new QLabel(label, this), row, c++);
        sel->addWidget(w, row, c++);
    };
    add(QStringLiteral("항목그룹"), cboGroup, 0);
    add(QStringLiteral("은행"), CbBank, 0);
    add(QStringLiteral("이체년월"), MEdtYearMon, 0);
    sel->addWidget(SBtnYearMonSelect, 0, c++);
    add(QStringLiteral("회차"), MEdtSeqNo, 0);
    c = 0;
    add(QStringLiteral("학번"), MEdtNo, 1);
    add(QStringLiteral("이체일자"), MEdtSetlDt, 1);
    // The fields keep their size; what is left stays empty on the right.
    sel->setColumnStretch(9, 1);
    for (QWidget* w : {static_cast<QWidget*>(MEdtYearMon), static_cast<QWidget*>(MEdtSeqNo),
                       static_cast<QWidget*>(MEdtNo), static_cast<QWidget*>(MEdtSetlDt)})
        w->setMaximumWidth(110);

    auto* lists = new QHBoxLayout;
    CLbItem = new QListWidget(this);
    CLbItem->setSortingEnabled(true);
    CLbItem->setMaximumHeight(80);
    auto* itemBox = new QGroupBox(QStringLiteral("항목"), this);
    (new QVBoxLayout(itemBox))->addWidget(CLbItem);
    lists->addWidget(itemBox, 1);
    auto* procBox = new QGroupBox(QStringLiteral("이체"), this);
    auto* pl = new QVBoxLayout(procBox);
    RGrpProc =
        radios(procBox, pl, {QStringLiteral("전체"), QStringLiteral("처리"), QStringLiteral("미처리")});
    lists->addWidget(procBox);
    lists->addLayout(sel, 3);

    lay->addLayout(lists);
    SGrdPay = new TDistGrid(this);
    // The find dialog reaches the grid by this name.
    SGrdPay->setObjectName(QStringLiteral("SGrdPay"));
    SGrdPay->onAct = [this](int row, int col) { SGrdPayAct(row, col); };
    lay->addWidget(SGrdPay, 1);

    auto* tot = new QGridLayout;
    const QList<QLabel*> captions = addPanels(tot, sharedPanels());
    // The exempt totals show only after a result file was applied.
    for (int i = 6; i < 8; ++i) {
        captions[i]->setObjectName(QStringLiteral("lblExemp%1").arg(i));
        captions[i]->hide();
    }
    PnlExempCnt->hide();
    PnlExempAmt->hide();
    lay->addLayout(tot);

    auto* btns = new QHBoxLayout;
    auto button = [&](const QString& text) { return addButton(btns, text); };
    BBtnPayDisp = button(QStringLiteral("조회"));
    BBtnCreate = button(QStringLiteral("자료생성"));
    bbtnFileCreate = button(QStringLiteral("파일작성"));
    bbtnDataRecv = button(QStringLiteral("파일풀기"));
    BBtnAmtUpdt = button(QStringLiteral("금액수정"));
    BBtnAddShft = button(QStringLiteral("학생추가"));
    BBtnDelShft = button(QStringLiteral("학생삭제"));
    BBtnSearch = button(QStringLiteral("찾      기"));
    BBtnSelectAll = button(QStringLiteral("전체선택"));
    BBtnCancel = button(QStringLiteral("선택취소"));
    BBtnPrint = button(QStringLiteral("인    쇄"));
    BBtnClose = button(QStringLiteral("닫    기"));
    lay->addLayout(btns);
    bbtnFileCreate->setEnabled(false);
    bbtnDataRecv->setEnabled(false);

    connect(BBtnPayDisp, &QPushButton::clicked, this, &TFrmM102B00::BBtnPayDispClick);
    connect(BBtnCreate, &QPushButton::clicked, this, &TFrmM102B00::BBtnCreateClick);
    connect(bbtnFileCreate, &QPushButton::clicked, this, &TFrmM102B00::bbtnFileCreateClick);
    connect(bbtnDataRecv, &QPushButton::clicked, this, &TFrmM102B00::bbtnDataRecvClick);
    connect(BBtnAmtUpdt, &QPushButton::clicked, this, &TFrmM102B00::BBtnAmtUpdtClick);
    connect(BBtnAddShft, &QPushButton::clicked, this, &TFrmM102B00::BBtnAddShftClick);
    connect(BBtnDelShft, &QPushButton::clicked, this, &TFrmM102B00::BBtnDelShftClick);
    connect(BBtnSearch, &QPushButton::clicked, this, &TFrmM102B00::BBtnSearchClick);
    connect(BBtnSelectAll, &QPushButton::clicked, this, &TFrmM102B00::BBtnSelectAllClick);
    connect(BBtnCancel, &QPushButton::clicked, this, &TFrmM102B00::BBtnCancelClick);
    connect(BBtnPrint, &QPushButton::clicked, this, &TFrmM102B00::BBtnPrintClick);
    connect(SBtnYearMonSelect, &QPushButton::clicked, this, &TFrmM102B00::SBtnYearMonSelectClick);
    wireRoundLine();
    for (TKeyEdit* e : {MEdtYearMon, MEdtSeqNo, MEdtNo, MEdtSetlDt})
        connect(e, &QLineEdit::textChanged, this, [this] { ClearGrid(); });
    connect(CLbItem, &QListWidget::itemChanged, this, [this] { ClearGrid(); });
    connect(RGrpProc, &QButtonGroup::buttonClicked, this, [this] { ClearGrid(); });
    MEdtNo->onExit = [this] { MEdtNoExit(); };
    // Enter in any control but the grid moves on.
    enterMovesOn({MEdtYearMon, MEdtSeqNo, MEdtNo, MEdtSetlDt});
    filterEnter(SGrdPay);
    addResetShortcut();
    resize(1000, 640);
}

// ---- values

DistribRound::Target TFrmM102B00::target() const {
    return {cboGroup->currentText(), yearMon(), seqNo()};
}

DistribList::Selection TFrmM102B00::selection() const {
    DistribList::Selection s;
    s.bankCd = bankCode();
    for (int i = 0; i < CLbItem->count(); ++i)
        if (CLbItem->item(i)->checkState() == Qt::Checked)
            s.itemCds << DMData->GetItemCodeByID(CLbItem->item(i)->text().left(2));
    s.snoPrefix = TDMLib::DigitsOnly(MEdtNo->text());
    s.procDt = TDMLib::DigitsOnly(MEdtSetlDt->text());
    s.procIdx = RGrpProc->checkedId();
    return s;
}

QList<DistribRow> TFrmM102B00::markedRows() const {
    QList<DistribRow> out;
    for (const QStringList& r : SGrdPay->payModel()->rows()) {
        if (r.value(DistCol::Mark) != kMark || r.value(DistCol::SNo).isEmpty()) continue;
        DistribRow d;
        d.SNo = r.value(DistCol::SNo);
        d.Nm = r.value(DistCol::Nm);
        d.BankCd = r.value(DistCol::Bank);
        d.AcctNo = r.value(DistCol::Acct);
        d.ItemCd = r.value(DistCol::Item);
        d.ItemNm = DMData->GetItemName(d.ItemCd);
        d.Amt = r.value(DistCol::Amt).toLongLong();
        d.ReplyTy = r.value(DistCol::Reply);
        out << d;
    }
    return out;
}

// ---- routines

void TFrmM102B00::fillItems() {
    const QSignalBlocker b(CLbItem);
    CLbItem->clear();
    DMData->SetItemGroup(groupCode());
    DMData->FillItemCheckList(CLbItem);
}

void TFrmM102B00::ClearGrid() {
    SGrdPay->payModel()->setRows({});
}

void TFrmM102B00::LoadBankCombo() {
    loadBankCombo(DistribList::bankEntries(groupCode()));
}

void TFrmM102B00::setRows(const DistribList::Listing& l, bool exemptPanels) {
    QList<QStringList> rows;
    rows.reserve(l.rows.size());
    for (const DistribList::Row& r : l.rows) {
        QStringList c(DistCol::Count);
        c[DistCol::SNo] = r.SNo;
        c[DistCol::Nm] = r.Nm;
        c[DistCol::Bank] = r.BankCd;
        c[DistCol::Acct] = r.AcctNo;
        c[DistCol::Amt] = QString::number(r.Amt);
        c[DistCol::Exemp] = r.ExempTy;
        c[DistCol::Reply] = r.ReplyTy;
        c[DistCol::Date] = dateText(r);
        c[DistCol::Item] = r.ItemCd;
        rows << c;
    }
    // A relisting starts without marks: they might stand on other rows now.
    SGrdPay->payModel()->setRows(std::move(rows));
    const qint64 cnt = l.procCnt + l.nonProcCnt + l.exempCnt, amt = l.procAmt + l.nonProcAmt + l.exempAmt;
    const std::pair<QLabel*, qint64> v[] = {
        {PnlTotCnt, cnt},
        {PnlTotAmt, amt},
        {PnlProcCnt, l.procCnt},
        {PnlProcAmt, l.procAmt},
        {PnlNonProcCnt, l.nonProcCnt},
        {PnlNonProcAmt, l.nonProcAmt},
        {PnlExempCnt, l.exempCnt},
        {PnlExempAmt, l.exempAmt},
    };
    for (const auto& [p, n] : v)
        p->setText(numText(n));
    for (QLabel* p : {PnlExempCnt, PnlExempAmt})
        p->setVisible(exemptPanels);
    for (QLabel* p : findChildren<QLabel*>(QRegularExpression(QStringLiteral("^lblExemp"))))
        p->setVisible(exemptPanels);
}

void TFrmM102B00::LoadPayGrid() {
    const DistribRound::Target t = target();
    const DistribList::Selection s = selection();
    const DistribList::Listing l = DistribList::list(t, s);
    if (!l.tableExists) {
        ClearGrid();
        return;
    }
    if (!l.error.isEmpty()) {
        ClearGrid();
        Msg::error(QStringLiteral("오류"), l.error, this);
        return;
    }
    if (!l.wrongGroup.isEmpty()) {
        plainBox(l.wrongGroup);
        ClearGrid();
        return;
    }
    FPayTarget = t;
    FPaySel = s;
    setRows(l, false);
}

void TFrmM102B00::ReloadAfterResult() {
    const DistribList::Listing l = DistribList::reload(target(), bankCode());
    if (!l.error.isEmpty()) {
        Msg::error(QStringLiteral("오류"), l.error, this);
        return;
    }
    setRows(l, true);
}

void TFrmM102B00::updateFileButtons() {
    const QString t = CbBank->currentText();
    const bool bankChosen = !(t.size() >= 2 && CbBank->currentIndex() == 0);
    bbtnFileCreate->setEnabled(bankChosen && registered(QStringLiteral("M102B04")));
    bbtnDataRecv->setEnabled(bankChosen && registered(QStringLiteral("M102B08")));
}

void TFrmM102B00::updateDialogButtons() {
    BBtnAmtUpdt->setEnabled(registered(QStringLiteral("M102B03")));
    BBtnSearch->setEnabled(registered(QStringLiteral("M102B09")));
    BBtnPrint->setEnabled(registered(QStringLiteral("M102P00")) || registered(QStringLiteral("M102P01")));
}

void TFrmM102B00::EditRowAmount(int row) {
    const QString sno = SGrdPay->cell(row, DistCol::SNo);
    if (sno.isEmpty()) return;
    std::unique_ptr<QDialog> dlg = openUnit(QStringLiteral("M102B10"), this);
    if (!dlg) return;
    dlg->setProperty("sno", sno);
    if (Modal::exec(dlg.get()) != QDialog::Accepted) return;
    const QString text = dlg->property("amountText").toString();
    const std::optional<qint64> amt = amountOf(text, this);
    if (!amt) return;
    const DistribList::Result r = DistribList::editAmount(target(), sno, SGrdPay->cell(row, DistCol::Item),
                                                          SGrdPay->cell(row, DistCol::Nm), text);
    DistribList::showRefusal(r, this);
    if (r.outcome == DistribList::Outcome::Failed) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("자료를 저장하지 못했습니다.\r") + r.error, this);
        return;
    }
    if (r.outcome == DistribList::Outcome::Done)
        SGrdPay->payModel()->setCell(row, DistCol::Amt, QString::number(*amt));
}

void TFrmM102B00::ApplyBulkAmount() {
    std::unique_ptr<QDialog> dlg = openUnit(QStringLiteral("M102B03"), this);
    if (!dlg) return;
    dlg->setProperty("items", DistribList::allItemLines());
    if (Modal::exec(dlg.get()) != QDialog::Accepted) return;
    const QString text = dlg->property("amountText").toString().trimmed();
    if (!amountOf(text, this)) return;
    const DistribList::Result r =
        DistribList::bulkAmount(target(), dlg->property("itemText").toString(),
                                TDMLib::DigitsOnly(dlg->property("snoPrefix").toString()), text);
    DistribList::showRefusal(r, this);
    // A failed update is said so and not logged.
    if (r.outcome == DistribList::Outcome::Failed)
        Msg::error(QStringLiteral("파일풀기오류"), QStringLiteral("DB에 저장되지 않습니다.!!"), this);
    LoadPayGrid();
}

void TFrmM102B00::WriteRequestFile(const QDate& start, const QDate& end, const QString& acctLine) {
    DistribRequest::Run run;
    run.round = target();
    run.bankText = CbBank->currentText();
    run.start = start;
    run.end = end;
    run.acctLine = acctLine;
    run.marked = markedRows();
    DistribRequest::write(run);
}

// ---- handlers

void TFrmM102B00::cboGroupChange() {
    LoadBankCombo();
    ClearGrid();
    fillItems();
}

void TFrmM102B00::CbBankChange() {
    TWorkWindow::CbBankChange();
    ClearGrid();
}

void TFrmM102B00::CbBankExit() {
    if (settleBank()) updateFileButtons();
}

void TFrmM102B00::MEdtNoExit() {
    const QString d = TDMLib::DigitsOnly(MEdtNo->text());
    if (!d.isEmpty()) MEdtNo->setText(NormSNo(SNoLen, d));
}

void TFrmM102B00::SBtnYearMonSelectClick() {
    TFrmM102B02 dlg(this);
    dlg.EdGcode->setText(groupCode());
    if (Modal::exec(&dlg) != QDialog::Accepted || dlg.yearMon().isEmpty()) return;
    takeRound(dlg.yearMon(), dlg.seqNo());
}

void TFrmM102B00::BBtnPayDispClick() {
    ClearGrid();
    if (!DistribRound::exists(target())) {
        sayNoRound();
        return;
    }
    LoadPayGrid();
}

void TFrmM102B00::BBtnCreateClick() {
    TFrmM102B01 dlg(cboGroup->currentText(), this);
    if (Modal::exec(&dlg) != QDialog::Accepted) return;
    MEdtYearMon->setText(dlg.yearMon());
    MEdtSeqNo->setText(dlg.seqNo());
    LoadPayGrid();
}

void TFrmM102B00::bbtnFileCreateClick() {
    bool any = false;
    for (const QStringList& r : SGrdPay->payModel()->rows())
        if (r.value(DistCol::Mark) == kMark) {
            any = true;
            break;
        }
    if (!DistribRequest::check(CbBank->currentText(), any)) return;
    std::unique_ptr<QDialog> dlg = openUnit(QStringLiteral("M102B04"), this);
    if (!dlg) return;
    dlg->setProperty("accounts", DistribRequest::accountLines(bankCode()));
    if (Modal::exec(dlg.get()) != QDialog::Accepted) return;
    WriteRequestFile(dlg->property("startDate").toDate(), dlg->property("endDate").toDate(),
                     dlg->property("acctLine").toString());
}

void TFrmM102B00::bbtnDataRecvClick() {
    if (SGrdPay->cell(0, DistCol::SNo).isEmpty() || yearMon().isEmpty() || seqNo().isEmpty()) {
        Msg::error(
            QStringLiteral("오류"),
            QStringLiteral("조회된 데이터가 없습니다. \r 이체년월 과 회차를 선택한 후 조회부터 하세요!!"),
            this);
        return;
    }
    std::unique_ptr<QDialog> dlg = openUnit(QStringLiteral("M102B08"), this);
    if (!dlg) return;
    dlg->setProperty("groupText", cboGroup->currentText());
    dlg->setProperty("yearMon", yearMon());
    dlg->setProperty("seqNo", seqNo());
    // The bank last: it lists the bank's files.
    dlg->setProperty("bankText", CbBank->currentText());
    if (Modal::exec(dlg.get()) == QDialog::Accepted) ReloadAfterResult();
}

void TFrmM102B00::BBtnAmtUpdtClick() {
    ApplyBulkAmount();
}

void TFrmM102B00::BBtnAddShftClick() {
    if (yearMon().isEmpty() || seqNo().isEmpty()) {
        Msg::error(QStringLiteral("입력요망"), QStringLiteral("이체년월 및 회차를 입력하세요!!"), this);
        return;
    }
    TFrmM102B07 dlg(cboGroup->currentText(), this);
    dlg.MedtYearMon->setText(yearMon());
    dlg.EdtSeqNo->setText(seqNo());
    Modal::exec(&dlg);
    LoadPayGrid();
}

void TFrmM102B00::BBtnDelShftClick() {
    const int row = SGrdPay->currentDataRow();
    const QString sno = SGrdPay->cell(row, DistCol::SNo);
    if (sno.isEmpty()) return;
    const QString nm = SGrdPay->cell(row, DistCol::Nm), item = SGrdPay->cell(row, DistCol::Item);
    if (askDeleteRow(sno, nm, DMData->GetItemName(item), false) == MsgResult::No) return;
    const DistribList::Result r = DistribList::deleteRow(target(), sno, item, nm);
    if (r.outcome == DistribList::Outcome::Failed)
        Msg::error(QStringLiteral("오류"), QStringLiteral("삭제하지 못했습니다.\r") + r.error, this);
    LoadPayGrid();
}

void TFrmM102B00::BBtnSearchClick() {
    std::unique_ptr<QDialog> dlg = openUnit(QStringLiteral("M102B09"), this);
    if (dlg) Modal::exec(dlg.get());
}

void TFrmM102B00::BBtnSelectAllClick() {
    TDistGridModel* m = SGrdPay->payModel();
    for (int r = 0; r < m->rowCount(); ++r)
        m->setCell(r, DistCol::Mark, kMark);
}

void TFrmM102B00::BBtnCancelClick() {
    TDistGridModel* m = SGrdPay->payModel();
    for (int r = 0; r < m->rowCount(); ++r)
        m->setCell(r, DistCol::Mark, QString());
}

void TFrmM102B00::BBtnPrintClick() {
    TFrmF201B03 kind(this);
    if (Modal::exec(&kind) != QDialog::Accepted) return;
    if (SGrdPay->cell(0, DistCol::SNo).isEmpty()) return;
    publishListing();
    std::unique_ptr<QDialog> dlg =
        openUnit(kind.rdobtn1->isChecked() ? QStringLiteral("M102P01") : QStringLiteral("M102P00"), this);
    if (dlg) Modal::exec(dlg.get());
}

void TFrmM102B00::publishListing() {
    setProperty("groupText", FPayTarget.groupText);
    setProperty("yearMon", FPayTarget.yearMon);
    setProperty("seqNo", FPayTarget.seqNo);
    setProperty("bankCd", FPaySel.bankCd);
    setProperty("itemCds", FPaySel.itemCds);
    setProperty("snoPrefix", FPaySel.snoPrefix);
    setProperty("procDt", FPaySel.procDt);
    setProperty("procIdx", FPaySel.procIdx);
    setProperty("panelTotals", QStringList{PnlProcCnt->text(), PnlProcAmt->text(), PnlNonProcCnt->text(),
                                           PnlNonProcAmt->text()});
}

void TFrmM102B00::SGrdPayAct(int row, int col) {
    if (SGrdPay->cell(row, DistCol::SNo).isEmpty()) return;
    if (col == DistCol::Mark) {
        SGrdPay->payModel()->setCell(row, DistCol::Mark,
                                     SGrdPay->cell(row, DistCol::Mark).isEmpty() ? kMark : QString());
    } else if (col == DistCol::Amt) {
        EditRowAmount(row);
    }
}

bool TFrmM102B00::resetTransferDate(const QString& date) {
    return DistribList::resetDate(target(), date).outcome != DistribList::Outcome::Failed;
}

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("M102B00"), QStringLiteral("배분이체자료작성"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmM102B00(parent); }});
} // namespace
