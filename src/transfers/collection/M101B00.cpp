#include "transfers/collection/M101B00.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/GridFit.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "transfers/collection/CollectFileRun.h"
#include "transfers/common/CollectionRound.h"
#include "transfers/collection/M101B01.h"
#include "transfers/collection/M101B07.h"
#include "transfers/collection/M101B08.h"
#include "transfers/collection/M101B13.h"
#include "transfers/common/BatFile.h"
#include "transfers/common/KeyEdit.h"
#include "transfers/common/M101B02.h"
#include "transfers/common/ResultFile.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

TFrmM101B00* FrmM101B00 = nullptr;

namespace {

const QString kWaitCaption = QStringLiteral("파일 작성중입니다. 잠시만 기다려주세요!!");
const QString kListCaption = QStringLiteral("자료 조회중입니다. 잠시만 기다려주세요!!");
const QString kBadSNo = QStringLiteral("학번 입력 정보가 올바르지 않습니다.");

const WorkColumn kColumns[ColCount] = {
    {u"학번", 50},
    {u"성명", 70},
    {u"항목", 70},
    {u"은행", 70},
    {u"계좌번호", 100},
    {u"금액", 80},
    {u"면제", 31},
    {u"이체", 50},
    {u"이체일", 100},
    {u"계좌등록", 100},
    {u"그룹", 100},
    {u"비고", 200},
    {u"환불금액", 80},
    {u"환불일자", 75},
    {u"납부자번호", 80},
    {u"항목그룹코드", 80},
    {u"", 0},
    {u"", 0},
    {u"", 0},
    {u"", 0},
    {u"", 0},
};

QString amountText(const QString& v) {
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    return (ok ? QLocale(QLocale::Korean).toString(n) : v) + QLatin1Char(' ');
}

const QColor kGreen(0, 128, 0);

// Column 6 keeps its colour in the focused cell; the others turn white.
class PayDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void initStyleOption(QStyleOptionViewItem* o, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(o, index);
        if (index.column() == ColExemp) {
            const QVariant c = index.data(Qt::ForegroundRole);
            if (c.isValid()) o->palette.setColor(QPalette::HighlightedText, c.value<QColor>());
        }
    }
};

QWidget* box(QWidget* parent, const QString& title, QLayout* inner) {
    auto* g = new QGroupBox(title, parent);
    g->setLayout(inner);
    return g;
}

} // namespace

// ---- grid

TPayGridModel::TPayGridModel(QObject* parent) : TWorkGridModel(kColumns, ColCount, parent) {}

QVariant TPayGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const QStringList& r = rows_[index.row()];
    const QString v = r.value(index.column());
    const int col = index.column();
    if (role == Qt::EditRole) return v;
    if (role == Qt::TextAlignmentRole) {
        if (col == ColAmt || col == ColReAmt) return int(Qt::AlignRight | Qt::AlignVCenter);
        if (col == ColExemp) return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::ForegroundRole) return {};
    const bool fg = role == Qt::ForegroundRole;
    switch (col) {
    case ColBank:
        if (fg) return QColor(Qt::black);
        if (v.isEmpty()) return v;
        return v == QLatin1String("99") ? QStringLiteral("은행없음") : DMData->GetBankName(v);
    case ColAmt: {
        if (fg) {
            const QString e = r.value(ColExemp);
            if (e == QLatin1String("0")) return QColor(Qt::blue);
            if (e == QLatin1String("2")) return kGreen;
            return QColor(Qt::black);
        }
        return v.isEmpty() ? v : amountText(v);
    }
    case ColExemp:
        if (v == QLatin1String("2")) return fg ? QVariant(kGreen) : QVariant(QStringLiteral("◐"));
        return exempCell(v, fg);
    case ColReply:
        if (v == QLatin1String("3")) {
            if (fg) return kGreen;
            return r.value(ColAmt) != r.value(ColReAmt) ? QStringLiteral("부분환불")
                                                        : QStringLiteral("전액환불");
        }
        return replyCell(v, fg);
    case ColDate:
        return dateCell(v, r.value(ColBank), fg);
    case ColReAmt:
        if (fg) return QColor(Qt::black);
        return r.value(ColReDt).isEmpty() ? v : amountText(v);
    default:
        return fg ? QVariant() : QVariant(v);
    }
}

TWorkGridModel::Shown TPayGridModel::shown(int col) const {
    switch (col) {
    case ColBank:
    case ColAmt:
    case ColExemp:
        return {false};
    case ColReply:
        return {false, ColAmt, ColReAmt};
    case ColDate:
        return {false, ColBank};
    case ColReAmt:
        return {false, ColReDt};
    default:
        return {};
    }
}

TPayGrid::TPayGrid(QWidget* parent) : TWorkGrid(new TPayGridModel, parent) {
    setItemDelegate(new PayDelegate(this));
}

// ---- window

TFrmM101B00::TFrmM101B00(QWidget* parent) : TWorkWindow(parent) {
    FrmM101B00 = this;
    setWindowTitle(QStringLiteral("집금이체자료작성"));
    buildControls();
    wireKeys();

    // Creation.
    SBunFromEdit->setMaxLength(SNoLen - 3);
    SBunToEdit->setMaxLength(SNoLen - 3);
    pReadRoundTables();
    showNewestRound(FLbHProc);
    fillGroupCombo();
    pLoadBankCombo();
    pLoadGroupLists(groupCode());
    {
        const QSignalBlocker b(ChkLstGrp);
        for (const QString& g : CollectionRound::studentGroups()) {
            auto* it = new QListWidgetItem(g, ChkLstGrp);
            it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
            it->setCheckState(Qt::Unchecked);
        }
    }
    pLoadSeqNo();
    pClearPay();
    pSetButtons(false);
}

TFrmM101B00::~TFrmM101B00() {
    if (FrmM101B00 == this) FrmM101B00 = nullptr;
}

void TFrmM101B00::buildControls() {
    auto* lay = new QVBoxLayout(this);
    auto* sel = new QGridLayout;
    int c = 0;
    auto add = [&](const QString& label, QWidget* w, int row, int span = 1) {
        if (!label.isEmpty()) sel->addWidget(new QLabel(label, this), row, c++);
        sel->addWidget(w, row, c, 1, span);
        c += span;
    };

    makeRoundLine();
    // Wide enough for the longest bank name of the list.
    CbBank->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cboBUNGI = new QComboBox(this);
    cboBUNGI->addItems({QString(), QStringLiteral("1 / 4 분기"), QStringLiteral("2 / 4 분기"),
                        QStringLiteral("3 / 4 분기"), QStringLiteral("4 / 4 분기")});
    c = 0;
    add(QStringLiteral("항목그룹"), cboGroup, 0);
    add(QStringLiteral("은행"), CbBank, 0);
    add(QStringLiteral("작성년월"), MEdtYearMon, 0);
    sel->addWidget(SBtnYearMonSelect, 0, c++);
    add(QStringLiteral("회차"), MEdtSeqNo, 0);
    add(QStringLiteral("분기"), cboBUNGI, 0);

    auto* digitsOnly = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    auto snoEdit = [&](int len) {
        auto* e = new TKeyEdit(this);
        e->setMaxLength(len);
        e->setValidator(digitsOnly);
        e->setMaximumWidth(40);
        return e;
    };
    SHakFromEdit = snoEdit(1);
    SBanFromEdit = snoEdit(2);
    SBunFromEdit = snoEdit(3);
    SHakToEdit = snoEdit(1);
    SBanToEdit = snoEdit(2);
    SBunToEdit = snoEdit(3);
    auto* sno = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(SHakFromEdit), static_cast<QWidget*>(SBanFromEdit),
                       static_cast<QWidget*>(SBunFromEdit)})
        sno->addWidget(w);
    sno->addWidget(new QLabel(QStringLiteral("~"), this));
    for (QWidget* w : {static_cast<QWidget*>(SHakToEdit), static_cast<QWidget*>(SBanToEdit),
                       static_cast<QWidget*>(SBunToEdit)})
        sno->addWidget(w);
    auto dateEdit = [&] {
        auto* e = new TKeyEdit(this);
        e->setInputMask(QStringLiteral("0000-00-00; "));
        return e;
    };
    MEdtSetlDt = dateEdit();
    MEdtSetlDt2 = dateEdit();
    MEdtReDt = dateEdit();
    MEdtReDt2 = dateEdit();
    c = 0;
    sel->addWidget(new QLabel(QStringLiteral("학번범위"), this), 1, c++);
    sel->addLayout(sno, 1, c, 1, 3);
    c += 3;
    add(QStringLiteral("이체조회일자"), MEdtSetlDt, 1);
    add(QStringLiteral("~"), MEdtSetlDt2, 1);
    add(QStringLiteral("환불일자"), MEdtReDt, 1);
    add(QStringLiteral("~"), MEdtReDt2, 1);

    auto* lists = new QHBoxLayout;
    CLbItem = new QListWidget(this);
    CLbItem->setSortingEnabled(true);
    CLbItem->setMaximumHeight(90);
    ChkLstGrp = new QListWidget(this);
    ChkLstGrp->setSortingEnabled(true);
    ChkLstGrp->setMaximumHeight(90);
    auto* l1 = new QVBoxLayout;
    l1->addWidget(CLbItem);
    lists->addWidget(box(this, QStringLiteral("항목"), l1));
    auto* l2 = new QVBoxLayout;
    l2->addWidget(ChkLstGrp);
    lists->addWidget(box(this, QStringLiteral("학생그룹"), l2));
    auto* r1 = new QVBoxLayout;
    RGrpExemp = radios(this, r1, {QStringLiteral("전체"), QStringLiteral("면제"), QStringLiteral("비면제")});
    lists->addWidget(box(this, QStringLiteral("면제"), r1));
    auto* r2 = new QGridLayout;
    auto* r2v = new QVBoxLayout;
    RGrpProc = radios(this, r2v,
                      {QStringLiteral("전체"), QStringLiteral("처리"), QStringLiteral("미처리"),
                       QStringLiteral("자동이체"), QStringLiteral("현금수납"), QStringLiteral("환불처리")});
    r2->addLayout(r2v, 0, 0);
    lists->addWidget(box(this, QStringLiteral("이체"), r2));
    auto* r3 = new QVBoxLayout;
    RGrpsmsYN = radios(this, r3, {QStringLiteral("전체"), QStringLiteral("수신"), QStringLiteral("거부")});
    lists->addWidget(box(this, QStringLiteral("SMS수신여부"), r3));

    lay->addLayout(sel);
    lay->addLayout(lists);

    SGrdPay = new TPayGrid(this);
    // The transfer state shows whole in its longest words before any listing.
    for (const QString& state : {QStringLiteral("현금수납"), QStringLiteral("부분환불")})
        GridFit::widen(SGrdPay, ColReply, state);
    lay->addWidget(SGrdPay, 1);

    PnlDispWait = new QWidget(SGrdPay);
    auto* wl = new QVBoxLayout(PnlDispWait);
    PnlDispWaitText = new QLabel(QStringLiteral("파일 작성중입니다. 잠시만 기다려주십시요!!"), PnlDispWait);
    SearBar = new QProgressBar(PnlDispWait);
    wl->addWidget(PnlDispWaitText);
    wl->addWidget(SearBar);
    PnlDispWait->setAutoFillBackground(true);
    PnlDispWait->resize(360, 70);
    PnlDispWait->hide();
    SearBar->hide();

    auto* tot = new QGridLayout;
    addPanels(tot, sharedPanels() + QList<Panel>{{u"환불건수", &PnlReCnt},
                                                 {u"환불금액", &PnlReAmt},
                                                 {u"부분환불건수", &PnlReCnt2},
                                                 {u"부분환불금액", &PnlReAmt2}});
    lay->addLayout(tot);

    auto* btns = new QHBoxLayout;
    // Sixteen buttons share one row: each may narrow down to its caption so
    // the row fits a 1366-pixel screen.
    auto button = [&](const QString& text) { return addButton(btns, text); };
    BBtnPayDisp = button(QStringLiteral("자료조회"));
    BBtnCreate = button(QStringLiteral("자료생성"));
    BBtnAdd = button(QStringLiteral("자료추가"));
    // Red while it can be used; a disabled button keeps the style's grey.
    BBtnAdd->setStyleSheet(QStringLiteral("QPushButton:enabled { color: red; }"));
    bbtnFileCreate = button(QStringLiteral("파일작성"));
    bbtnDataRecv = button(QStringLiteral("파일풀기"));
    BBtnAmtUpdt = button(QStringLiteral("금액수정"));
    bbtnSuNap = button(QStringLiteral("현금수납"));
    BBtnPreview = button(QStringLiteral("인    쇄"));
    cmdReceipt = button(QStringLiteral("영 수 증"));
    DoubleCheckBox = new QCheckBox(QStringLiteral("2부출력"), this);
    btns->addWidget(DoubleCheckBox);
    BBtnExcelSave = button(QStringLiteral("엑셀저장"));
    BBtnAddShft = button(QStringLiteral("학생추가"));
    BBtnDelShft = button(QStringLiteral("학생삭제"));
    BBtnSearch = button(QStringLiteral("찾    기"));
    BBtnSMS = button(QStringLiteral("문자메세지"));
    BBtnClose = button(QStringLiteral("닫    기"));
    lay->addLayout(btns);

    rowButtons_ = {BBtnAddShft, BBtnDelShft, BBtnAmtUpdt, bbtnSuNap, BBtnSearch, BBtnPreview, cmdReceipt,
                   DoubleCheckBox, BBtnExcelSave, BBtnSMS};
    for (QWidget* w : rowButtons_)
        w->setEnabled(false);
    connect(BBtnPreview, &QPushButton::clicked, this, &TFrmM101B00::BBtnPreviewClick);
    connect(cmdReceipt, &QPushButton::clicked, this, &TFrmM101B00::cmdReceiptClick);
    connect(BBtnExcelSave, &QPushButton::clicked, this, &TFrmM101B00::BBtnExcelSaveClick);
    connect(BBtnSMS, &QPushButton::clicked, this, &TFrmM101B00::BBtnSMSClick);
    connect(cboBUNGI, &QComboBox::activated, this, [this] { cboBUNGIChange(); });
    cboBUNGI->installEventFilter(this);
    BBtnAdd->setEnabled(false);

    connect(BBtnPayDisp, &QPushButton::clicked, this, &TFrmM101B00::BBtnPayDispClick);
    connect(BBtnCreate, &QPushButton::clicked, this, &TFrmM101B00::BBtnCreateClick);
    connect(BBtnAdd, &QPushButton::clicked, this, &TFrmM101B00::BBtnAddClick);
    connect(BBtnAddShft, &QPushButton::clicked, this, &TFrmM101B00::BBtnAddShftClick);
    connect(BBtnDelShft, &QPushButton::clicked, this, &TFrmM101B00::BBtnDelShftClick);
    connect(SBtnYearMonSelect, &QPushButton::clicked, this, &TFrmM101B00::SBtnYearMonSelectClick);
    connect(bbtnFileCreate, &QPushButton::clicked, this, &TFrmM101B00::bbtnFileCreateClick);
    connect(bbtnDataRecv, &QPushButton::clicked, this, &TFrmM101B00::bbtnDataRecvClick);
    connect(BBtnAmtUpdt, &QPushButton::clicked, this, &TFrmM101B00::BBtnAmtUpdtClick);
    connect(bbtnSuNap, &QPushButton::clicked, this, &TFrmM101B00::bbtnSuNapClick);
    connect(BBtnSearch, &QPushButton::clicked, this, &TFrmM101B00::BBtnSearchClick);
    connect(SGrdPay, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { SGrdPayDblClick(i.column()); });
    wireRoundLine();
    connect(MEdtYearMon, &QLineEdit::textChanged, this, [this] { pClearPay(); });
    connect(MEdtSeqNo, &QLineEdit::textChanged, this, [this] { pClearPay(); });
    for (TKeyEdit* e : {MEdtSetlDt, MEdtSetlDt2, MEdtReDt, MEdtReDt2})
        connect(e, &QLineEdit::textChanged, this, [this] { pClearPay(); });
    for (QListWidget* l : {CLbItem, ChkLstGrp}) {
        connect(l, &QListWidget::itemClicked, this, [this] { pClearPay(); });
        connect(l, &QListWidget::itemChanged, this, [this] { pClearPay(); });
    }
    connect(RGrpExemp, &QButtonGroup::buttonClicked, this, [this] { pClearPay(); });
    connect(RGrpsmsYN, &QButtonGroup::buttonClicked, this, [this] { pClearPay(); });
    connect(RGrpProc, &QButtonGroup::buttonClicked, this, [this] { RGrpProcClick(); });
    addResetShortcut();
    resize(1000, 680);
}

void TFrmM101B00::wireKeys() {
    // The focus-advance table of the selection edits. "Held" and "empty"
    // are the text before the key; the typed character stays in its edit.
    struct Step {
        TKeyEdit* e;
        QWidget* enter;
        QWidget* back;
        std::function<bool(const QString&)> moveAfter;
        QWidget* next;
    };
    const int bun = SNoLen == 6 ? 2 : 1;
    const QList<Step> steps = {
        {SHakFromEdit, SBanFromEdit, nullptr, [](const QString& b) { return b.isEmpty(); }, SBanFromEdit},
        {SBanFromEdit, SBunFromEdit, SHakFromEdit, [](const QString& b) { return b.size() == 1; },
         SBunFromEdit},
        {SBunFromEdit, SHakToEdit, SBanFromEdit, [bun](const QString& b) { return b.size() == bun; },
         SHakToEdit},
        {SHakToEdit, SBanToEdit, SBunFromEdit, [](const QString& b) { return b.isEmpty(); }, SBanToEdit},
        {SBanToEdit, SBunToEdit, SHakToEdit, [](const QString& b) { return b.size() == 1; }, SBunToEdit},
        {SBunToEdit, MEdtSetlDt, SBanToEdit, nullptr, nullptr},
        {MEdtSetlDt, MEdtSetlDt2, nullptr, [](const QString& b) { return TDMLib::DigitsOnly(b).size() == 7; },
         MEdtSetlDt2},
        {MEdtSetlDt2, BBtnPayDisp, nullptr, nullptr, nullptr},
        {MEdtReDt, MEdtReDt2, nullptr, [](const QString& b) { return TDMLib::DigitsOnly(b).size() == 7; },
         MEdtReDt2},
        {MEdtReDt2, BBtnPayDisp, nullptr, nullptr, nullptr},
    };
    for (const Step& s : steps) {
        s.e->onKey = [s](QKeyEvent* e, const QString& before) {
            if (isEnterKey(e)) {
                s.enter->setFocus();
                return true;
            }
            if (e->key() == Qt::Key_Backspace && s.back && before.isEmpty()) {
                s.back->setFocus();
                return true;
            }
            return false;
        };
        if (s.moveAfter)
            s.e->afterKey = [s](QKeyEvent* e, const QString& before) {
                if (isCharKey(e) && s.moveAfter(before)) s.next->setFocus();
            };
    }
    filterEnter(SGrdPay);
    enterMovesOn({MEdtYearMon, MEdtSeqNo});
}

bool TFrmM101B00::eventFilter(QObject* o, QEvent* e) {
    // The quarter is chosen from the list only; typed keys are dropped.
    if (o == cboBUNGI && e->type() == QEvent::KeyPress) return true;
    return TWorkWindow::eventFilter(o, e);
}

// ---- values

QString TFrmM101B00::digits(const TKeyEdit* e) {
    return TDMLib::DigitsOnly(e->text());
}

CollectionSelection TFrmM101B00::selection() const {
    CollectionSelection s;
    s.gcode = groupCode();
    s.bankCd = bankCode();
    s.yearMon = yearMon();
    s.seqNo = seqNo();
    s.fromSNo = FFromSNo;
    s.toSNo = FToSNo;
    for (int i = 0; i < CLbItem->count(); ++i)
        if (CLbItem->item(i)->checkState() == Qt::Checked) s.itemIds << CLbItem->item(i)->text().left(2);
    for (int i = 0; i < ChkLstGrp->count(); ++i)
        if (ChkLstGrp->item(i)->checkState() == Qt::Checked) s.groups << ChkLstGrp->item(i)->text();
    s.setlDt = digits(MEdtSetlDt);
    s.setlDt2 = digits(MEdtSetlDt2);
    s.reDt = digits(MEdtReDt);
    s.reDt2 = digits(MEdtReDt2);
    s.exempIdx = RGrpExemp->checkedId();
    s.procIdx = RGrpProc->checkedId();
    s.smsIdx = RGrpsmsYN->checkedId();
    return s;
}

CollectSelection TFrmM101B00::collectSelection() const {
    CollectSelection s;
    s.Gcode = groupCode();
    s.GroupText = cboGroup->currentText();
    s.BankCd = bankCode();
    s.BankText = CbBank->currentText();
    s.YearMon = yearMon();
    s.SeqNo = seqNo();
    s.SHakFrom = SHakFromEdit->text();
    s.SBanFrom = SBanFromEdit->text();
    s.SBunFrom = SBunFromEdit->text();
    s.SHakTo = SHakToEdit->text();
    s.SBanTo = SBanToEdit->text();
    s.SBunTo = SBunToEdit->text();
    for (int i = 0; i < CLbItem->count(); ++i)
        if (CLbItem->item(i)->checkState() == Qt::Checked) s.ItemIds << CLbItem->item(i)->text().left(2);
    for (int i = 0; i < ChkLstGrp->count(); ++i)
        if (ChkLstGrp->item(i)->checkState() == Qt::Checked) s.GrpNames << ChkLstGrp->item(i)->text();
    return s;
}

// ---- routines

void TFrmM101B00::pReadRoundTables() {
    FLbHProc = CollectionRound::roundTables(FLbHProcMask);
}

void TFrmM101B00::pLoadBankCombo() {
    loadBankCombo(CollectionRound::bankEntries(groupCode()));
}

void TFrmM101B00::pLoadSeqNo() {
    MEdtSeqNo->setText(CollectionRound::lastBookedRound(yearMon(), groupCode()));
}

void TFrmM101B00::pLoadGroupLists(const QString& gcode) {
    const QSignalBlocker b(CLbItem);
    CLbItem->clear();
    DMData->SetItemGroup(gcode);
    DMData->FillItemCheckList(CLbItem);
    CboItemT.clear();
    CboItemN.clear();
    for (const CollectionRound::GroupItem& i : CollectionRound::groupItems(gcode)) {
        CboItemT << i.itemId;
        CboItemN << i.itemNm;
    }
}

QString TFrmM101B00::sItemNm(const QString& itemId) const {
    for (int i = 0; i < CLbItem->count(); ++i)
        if (CLbItem->item(i)->text().left(2) == itemId) return CboItemN.value(i);
    return {};
}

void TFrmM101B00::pClearPay() {
    SGrdPay->payModel()->setRows({});
    clearTotals();
    BBtnAdd->setEnabled(false);
}

// Totals of a listing that is no longer shown would mislead.
void TFrmM101B00::clearTotals() {
    totals_ = {};
    for (QLabel* p : {PnlTotCnt, PnlTotAmt, PnlProcCnt, PnlProcAmt, PnlNonProcCnt, PnlNonProcAmt, PnlExempCnt,
                      PnlExempAmt, PnlReCnt, PnlReAmt, PnlReCnt2, PnlReAmt2})
        p->clear();
}

void TFrmM101B00::pSetButtons(bool enabled) {
    for (QWidget* w : rowButtons_)
        w->setEnabled(enabled);
}

void TFrmM101B00::showWait(bool on, const QString& caption) {
    if (on) {
        PnlDispWaitText->setText(caption);
        PnlDispWait->move((SGrdPay->width() - PnlDispWait->width()) / 2,
                          (SGrdPay->height() - PnlDispWait->height()) / 2);
        PnlDispWait->show();
        SearBar->show();
        PnlDispWait->raise();
    } else {
        PnlDispWait->hide();
        PnlDispWaitText->setText(kWaitCaption);
        SearBar->hide();
    }
}

void TFrmM101B00::setTotals(const CollectionTotals& t) {
    totals_ = t;
    const std::pair<QLabel*, qint64> v[] = {
        {PnlTotCnt, t.totCnt()},   {PnlTotAmt, t.totAmt()},       {PnlProcCnt, t.procCnt},
        {PnlProcAmt, t.procAmt},   {PnlNonProcCnt, t.nonProcCnt}, {PnlNonProcAmt, t.nonProcAmt},
        {PnlExempCnt, t.exempCnt}, {PnlExempAmt, t.exempAmt},     {PnlReCnt, t.reCnt},
        {PnlReAmt, t.reAmt},       {PnlReCnt2, t.reCnt2},         {PnlReAmt2, t.reAmt2},
    };
    for (const auto& [p, n] : v)
        p->setText(CollectionList::panelText(n));
}

void TFrmM101B00::resyncGroup(const QString& gcode, int remembered, bool rebuildLists) {
    for (int i = 0; i < cboGroup->count(); ++i)
        if (cboGroup->itemText(i).left(2) == gcode) {
            const QSignalBlocker b(cboGroup);
            cboGroup->setCurrentIndex(i);
            break;
        }
    if (rebuildLists && cboGroup->currentIndex() != remembered) pLoadGroupLists(groupCode());
}

void TFrmM101B00::pDispPay() {
    const CollectionSelection sel = selection();
    showWait(true, kListCaption);
    const int remembered = cboGroup->currentIndex();
    pReadRoundTables();
    if (!CollectionRound::roundListed(FLbHProc, sel.yearMon, sel.seqNo)) {
        SGrdPay->payModel()->setRows({});
        clearTotals();
        showWait(false);
        return;
    }
    SGrdPay->beginFill();
    CollectionListing l = CollectionList::list(
        sel, [this](const QString& id) { return sItemNm(id); },
        [this](QStringList&& row) { SGrdPay->addRow(std::move(row)); });
    const int listed = SGrdPay->endFill();
    FListSql = l.listSql;
    FListFromSql = l.listFromSql;
    FListBinds = l.binds;
    SearBar->setRange(0, listed);
    pSetButtons(listed > 0);
    setTotals(l.totals);
    resyncGroup(SGrdPay->cell(0, ColGcode), remembered, true);
    SearBar->setValue(SearBar->maximum());
    showWait(false);
    BBtnAdd->setEnabled(true);
    if (!l.error.isEmpty()) Msg::error(QStringLiteral("오류"), l.error, this);
}

void TFrmM101B00::pDispPayTable() {
    const QString table = TblPayTable;
    if (table.size() < 14) return;
    MEdtYearMon->setText(table.mid(6, 6));
    MEdtSeqNo->setText(table.mid(12, 2));
    showWait(true, kListCaption);
    const int remembered = cboGroup->currentIndex();
    SGrdPay->beginFill();
    CollectionListing l = CollectionList::listTable(
        table, bankCode(), groupCode(), [this](const QString& id) { return sItemNm(id); },
        [this](QStringList&& row) { SGrdPay->addRow(std::move(row)); });
    SearBar->setRange(0, SGrdPay->endFill());
    setTotals(l.totals);
    resyncGroup(SGrdPay->cell(0, ColGcode), remembered, false);
    SearBar->setValue(SearBar->maximum());
    showWait(false);
    if (!l.error.isEmpty()) Msg::error(QStringLiteral("오류"), l.error, this);
}

void TFrmM101B00::updateFileButtons() {
    const QString t = CbBank->currentText();
    const int i = CbBank->currentIndex();
    const bool on = t.size() < 2 || (i != 0 && i != 1);
    bbtnFileCreate->setEnabled(on);
    bbtnDataRecv->setEnabled(on);
}

bool TFrmM101B00::hasUnprocRow() const {
    for (const QStringList& r : SGrdPay->payModel()->rows())
        if (r.value(ColReply).trimmed() == QLatin1String("0")) return true;
    return false;
}

// ---- handlers

void TFrmM101B00::BBtnPayDispClick() {
    pClearPay();
    pReadRoundTables();
    if (!CollectionRound::roundListed(FLbHProc, yearMon(), seqNo())) {
        sayNoRound();
        BBtnAdd->setEnabled(false);
        return;
    }
    if (!IsValidSNoInput(SHakFromEdit->text(), SBanFromEdit->text(), SBunFromEdit->text()) ||
        !IsValidSNoInput(SHakToEdit->text(), SBanToEdit->text(), SBunToEdit->text())) {
        Msg::error(QStringLiteral("학번입력 오류"), kBadSNo, this);
        BBtnAdd->setEnabled(false);
        return;
    }
    FFromSNo = MakeSNo(SHakFromEdit->text(), SBanFromEdit->text(), SBunFromEdit->text());
    FToSNo = MakeSNo(SHakToEdit->text(), SBanToEdit->text(), SBunToEdit->text());
    if (const auto refusal = CollectionList::checkShow(selection())) {
        Msg::show(refusal->caption, refusal->text, refusal->errorIcon ? MsgIcon::Error : MsgIcon::None,
                  MsgButtons::Ok, this);
        BBtnAdd->setEnabled(false);
        return;
    }
    pDispPay();
}

RoundDialogValues TFrmM101B00::roundDialogValues() const {
    RoundDialogValues v;
    v.groupLine = cboGroup->currentText();
    v.yearMon = yearMon();
    v.seqNo = seqNo();
    v.bank.code = bankCode();
    for (int i = 1; i < CbBank->count(); ++i)
        v.bank.offered << CbBank->itemText(i).left(2);
    return v;
}

void TFrmM101B00::BBtnCreateClick() {
    TFrmM101B01 dlg(roundDialogValues(), this);
    if (Modal::exec(&dlg) != QDialog::Accepted) return;
    MEdtYearMon->setText(dlg.yearMon());
    MEdtSeqNo->setText(dlg.seqNo());
    pClearPay();
    pDispPay();
}

void TFrmM101B00::BBtnAddClick() {
    TFrmM101B13 dlg(roundDialogValues(), this);
    if (Modal::exec(&dlg) != QDialog::Accepted) return;
    pClearPay();
    pDispPay();
}

void TFrmM101B00::SBtnYearMonSelectClick() {
    TFrmM101B02 dlg(this);
    dlg.InitAction(FLbHProcMask.isEmpty() ? QStringLiteral("H_200_*.db")
                                          : FLbHProcMask.join(QLatin1Char(';')));
    dlg.EdGcode->setText(groupCode());
    if (Modal::exec(&dlg) != QDialog::Accepted) return;
    // Setting the two edits empties the grid.
    takeRound(dlg.yearMon(), dlg.seqNo());
}

void TFrmM101B00::BBtnAddShftClick() {
    TFrmM101B07 dlg(groupCode(), this);
    dlg.MedtYearMon->setText(yearMon());
    dlg.EdtSeqNo->setText(MEdtSeqNo->text().trimmed());
    Modal::exec(&dlg);
    pDispPay();
}

void TFrmM101B00::BBtnDelShftClick() {
    const int row = SGrdPay->currentDataRow();
    const QString sno = SGrdPay->cell(row, ColSNo);
    if (sno.isEmpty()) return;
    if (CollectionRound::fileState(yearMon(), seqNo(), SGrdPay->cell(row, ColBank)).waiting()) {
        plainBox(QStringLiteral("수신대기상태인 자료입니다."));
        return;
    }
    const QString nm = SGrdPay->cell(row, ColNm), item = SGrdPay->cell(row, ColItem);
    if (askDeleteRow(sno, nm, item, true) != MsgResult::Yes) return;
    QString err;
    const CollectionRound::DeleteResult r = CollectionRound::deleteRow(
        {yearMon(), seqNo(), sno, SGrdPay->cell(row, ColItemCd), nm, item, cboGroup->currentText()}, &err);
    if (r == CollectionRound::DeleteResult::Failed) Msg::error(QStringLiteral("오류"), err, this);
    pDispPay();
}

void TFrmM101B00::cboGroupChange() {
    pLoadBankCombo();
    pLoadGroupLists(groupCode());
    pLoadSeqNo();
    pClearPay();
}

void TFrmM101B00::RGrpProcClick() {
    const int i = RGrpProc->checkedId();
    QString first, last;
    if (i == 1 || i == 3 || i == 4) {
        const CollectionRound::DateSpan s = CollectionRound::procDateSpan(yearMon(), seqNo());
        if (!s.ok) Msg::error(QStringLiteral("오류"), QStringLiteral("이체일자를 읽을 수 없습니다."), this);
        first = s.first;
        last = s.last;
    }
    MEdtSetlDt->setText(first);
    MEdtSetlDt2->setText(last);
    pClearPay();
}

void TFrmM101B00::bbtnFileCreateClick() {
    if (!CollectFileRun::bCheckFileCreate(collectSelection(), hasUnprocRow())) {
        SGrdPay->setFocus();
        return;
    }
    // The window repaints before the run starts.
    QTimer::singleShot(1, this, &TFrmM101B00::TimeShowTimer);
}

void TFrmM101B00::TimeShowTimer() {
    CollectSelection sel = collectSelection();
    FFromSNo = MakeSNo(sel.SHakFrom, sel.SBanFrom, sel.SBunFrom);
    FToSNo = MakeSNo(sel.SHakTo, sel.SBanTo, sel.SBunTo);
    // The panel shows while the file is written, not while the date dialog waits.
    const QString caption = PnlDispWaitText->text();
    CollectFileRun::TimeShowTimer(sel, CollectFileRun::AskDates, [this, caption](bool on) {
        showWait(on, caption);
        if (on) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

void TFrmM101B00::bbtnDataRecvClick() {
    static const QStringList needRound{QStringLiteral("21"), QStringLiteral("06"), QStringLiteral("23"),
                                       QStringLiteral("03"), QStringLiteral("12")};
    if (needRound.contains(bankCode()) && (SGrdPay->cell(0, ColSNo).isEmpty() ||
                                           MEdtYearMon->text().remove(QLatin1Char('-')).trimmed().isEmpty() ||
                                           MEdtSeqNo->text().trimmed().isEmpty())) {
        Msg::error(
            QStringLiteral("오류"),
            QStringLiteral("조회된 데이터가 없습니다. \r 이체년월 과 회차를 선택한 후 조회후 진행 하세요!!"),
            this);
        return;
    }
    TFrmM101B08 dlg(CbBank->currentText(), cboGroup->currentText(), this);
    dlg.PnlMv->setVisible(true);
    dlg.MEdtYearMon->setText(yearMon());
    dlg.MEdtSeqNo->setText(seqNo());
    dlg.lblcheck->setVisible(true);
    if (Modal::exec(&dlg) == QDialog::Accepted && !dlg.appliedTable().isEmpty()) {
        TblPayTable = dlg.appliedTable();
        pDispPayTable();
    }
}

bool TFrmM101B00::resetTransferDate(const QString& date) {
    TransferDateReset r;
    r.yearMon = yearMon();
    r.seqNo = seqNo();
    r.bankCd = bankCode();
    r.procDt = date;
    for (int i = 0; i < CLbItem->count(); ++i)
        if (CLbItem->item(i)->checkState() == Qt::Checked) r.itemIds << CLbItem->item(i)->text().left(2);
    FFromSNo = MakeSNo(SHakFromEdit->text(), SBanFromEdit->text(), SBunFromEdit->text());
    FToSNo = MakeSNo(SHakToEdit->text(), SBanToEdit->text(), SBunToEdit->text());
    r.fromSNo = FFromSNo;
    r.toSNo = FToSNo;
    QString err;
    return ResetTransferDate(r, &err);
}

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("M101B00"), QStringLiteral("집금이체자료작성"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmM101B00(parent); }});
} // namespace
