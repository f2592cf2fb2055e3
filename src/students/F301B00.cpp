#include "students/F301B00.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/GridFit.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "platform/ui/RowMove.h"
#include "students/F301B01.h"
#include "students/StudentStore.h"
#include "students/ThreeAcrossPrint.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

TFrmF301B00* FrmF301B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("F301B00"), QStringLiteral("면제학생 항목등록"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmF301B00(parent); }});

const QString kMark = QStringLiteral(" ◎");
const QString kMenu = QStringLiteral("면제항목학생등록");

QLineEdit* digitsEdit(QWidget* owner, const char* name, int len) {
    auto* e = new QLineEdit(owner);
    e->setObjectName(QString::fromLatin1(name));
    Cp949Validator::limit(e, len, true);
    e->setMaximumWidth(16 + 10 * len);
    return e;
}

void setCell(QTableWidget* g, int row, int col, const QString& text) {
    auto* it = g->item(row, col);
    if (!it) {
        it = new QTableWidgetItem;
        it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        g->setItem(row, col, it);
    }
    it->setText(text);
}

QString cellOf(const QTableWidget* g, int row, int col) {
    const auto* it = g->item(row, col);
    return it ? it->text() : QString();
}

QString countText(int n) {
    return QLocale(QLocale::Korean).toString(n) + QLatin1Char(' ');
}

} // namespace

TFrmF301B00::TFrmF301B00(QWidget* parent) : QWidget(parent) {
    FrmF301B00 = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("면제학생 항목등록"));
    auto* top = new QHBoxLayout(this);

    // left: search and list
    auto* left = new QVBoxLayout;
    auto* search = new QGroupBox(QStringLiteral("검 색"), this);
    auto* sg = new QGridLayout(search);
    SHakFromEdit = digitsEdit(search, "SHakFromEdit", 1);
    SBanFromEdit = digitsEdit(search, "SBanFromEdit", 2);
    SBunFromEdit = digitsEdit(search, "SBunFromEdit", SNoLen - 3);
    SHakToEdit = digitsEdit(search, "SHakToEdit", 1);
    SBanToEdit = digitsEdit(search, "SBanToEdit", 2);
    SBunToEdit = digitsEdit(search, "SBunToEdit", SNoLen - 3);
    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("학번"), search));
    for (QLineEdit* e : {SHakFromEdit, SBanFromEdit, SBunFromEdit})
        range->addWidget(e);
    range->addWidget(new QLabel(QStringLiteral("~"), search));
    for (QLineEdit* e : {SHakToEdit, SBanToEdit, SBunToEdit})
        range->addWidget(e);
    range->addStretch();
    sg->addLayout(range, 0, 0, 1, 3);
    CbItem = new QComboBox(search);
    CbItem->setObjectName(QStringLiteral("CbItem"));
    sg->addWidget(new QLabel(QStringLiteral("면제항목"), search), 1, 0);
    sg->addWidget(CbItem, 1, 1);
    BBtnInquiry = new QPushButton(QStringLiteral("조회"), search);
    sg->addWidget(BBtnInquiry, 1, 2);
    left->addWidget(search);

    SGrdCust = new QTableWidget(0, 8, this);
    SGrdCust->setObjectName(QStringLiteral("SGrdCust"));
    SGrdCust->setHorizontalHeaderLabels({QStringLiteral("학번"), QStringLiteral("성명"), QStringLiteral("구분"),
                                         QString(), QString(), QString(), QStringLiteral("면제금액"),
                                         QStringLiteral("선택")});
    const int widths[] = {50, 80, 50, 0, 0, 0, 70, 35};
    for (int c = 0; c < 8; ++c)
        SGrdCust->setColumnWidth(c, widths[c] + 10);
    for (int c : {3, 4, 5})
        SGrdCust->setColumnHidden(c, true);
    SGrdCust->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGrdCust->setSelectionMode(QAbstractItemView::SingleSelection);
    SGrdCust->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGrdCust->verticalHeader()->setDefaultSectionSize(20);
    left->addWidget(SGrdCust, 1);
    auto* marks = new QHBoxLayout;
    cmdChkAll = new QPushButton(QStringLiteral("전체선택"), this);
    cmdCancelAll = new QPushButton(QStringLiteral("선택취소"), this);
    lblTotCnt = new QLabel(QStringLiteral("0 "), this);
    marks->addWidget(cmdChkAll);
    marks->addWidget(cmdCancelAll);
    marks->addStretch();
    marks->addWidget(new QLabel(QStringLiteral("인원:"), this));
    marks->addWidget(lblTotCnt);
    left->addLayout(marks);
    top->addLayout(left, 1);

    // right: edit area, the student's exemptions, buttons
    auto* right = new QVBoxLayout;
    auto* edit = new QGroupBox(QStringLiteral("면제 등록"), this);
    auto* eg = new QGridLayout(edit);
    EdtCustNo = new QLineEdit(edit);
    EdtCustNo->setReadOnly(true);
    CbMNo = new QComboBox(edit);
    CbMNo->setEnabled(false);
    MEdtSNo = new QLineEdit(edit);
    MEdtSNo->setReadOnly(true);
    EdtNm = new QLineEdit(edit);
    EdtNm->setReadOnly(true);
    SBFree = new QComboBox(edit);
    SBFree->setObjectName(QStringLiteral("SBFree"));
    EBPfree = new QLineEdit(edit);
    EBPfree->setObjectName(QStringLiteral("EBPfree"));
    RBAfree = new QRadioButton(QStringLiteral("전액면제"), edit);
    RBPfree = new QRadioButton(QStringLiteral("부분면제"), edit);
    Cfree = new QCheckBox(QStringLiteral("면제항목해제"), edit);
    CASedit = new QCheckBox(QStringLiteral("선택학생 일괄등록/수정"), edit);
    int r = 0;
    eg->addWidget(new QLabel(QStringLiteral("학생코드"), edit), r, 0);
    eg->addWidget(EdtCustNo, r++, 1, 1, 2);
    eg->addWidget(new QLabel(QStringLiteral("학년"), edit), r, 0);
    eg->addWidget(CbMNo, r++, 1, 1, 2);
    eg->addWidget(new QLabel(QStringLiteral("반/번호"), edit), r, 0);
    eg->addWidget(MEdtSNo, r++, 1, 1, 2);
    eg->addWidget(new QLabel(QStringLiteral("성명"), edit), r, 0);
    eg->addWidget(EdtNm, r++, 1, 1, 2);
    eg->addWidget(new QLabel(QStringLiteral("면제항목"), edit), r, 0);
    eg->addWidget(SBFree, r++, 1, 1, 2);
    eg->addWidget(RBAfree, r, 1);
    eg->addWidget(RBPfree, r++, 2);
    eg->addWidget(new QLabel(QStringLiteral("면제금액"), edit), r, 0);
    eg->addWidget(EBPfree, r++, 1, 1, 2);
    eg->addWidget(Cfree, r, 1);
    eg->addWidget(CASedit, r++, 2);
    right->addWidget(edit);

    DCPriceGrid = new QTableWidget(1, 4, this);
    DCPriceGrid->setObjectName(QStringLiteral("DCPriceGrid"));
    DCPriceGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    DCPriceGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    DCPriceGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DCPriceGrid->setColumnHidden(3, true);
    DCPriceGrid->setColumnWidth(0, 200);
    DCPriceGrid->verticalHeader()->setDefaultSectionSize(20);
    right->addWidget(DCPriceGrid, 1);

    auto* buttons = new QHBoxLayout;
    BBtnSave = new QPushButton(QStringLiteral("저장"), this);
    BBtnSearch = new QPushButton(QStringLiteral("찾기"), this);
    BBtnPrint = new QPushButton(QStringLiteral("인쇄"), this);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), this);
    for (QPushButton* b : {BBtnSave, BBtnSearch, BBtnPrint, BBtnClose})
        buttons->addWidget(b);
    right->addLayout(buttons);
    top->addLayout(right, 1);

    connect(BBtnInquiry, &QPushButton::clicked, this, &TFrmF301B00::BBtnInquiryClick);
    connect(CbItem, &QComboBox::activated, this, [this](int) { CbItemChange(); });
    connect(SGrdCust, &QTableWidget::cellClicked, this, [this](int row, int) { SGrdCustClick(row); });
    RowMove::follow(SGrdCust, [this](int row) { SGrdCustClick(row); });
    connect(SGrdCust, &QTableWidget::cellDoubleClicked, this, &TFrmF301B00::SGrdCustDblClick);
    connect(cmdChkAll, &QPushButton::clicked, this, [this] { cmdChkAllClick(1); });
    connect(cmdCancelAll, &QPushButton::clicked, this, [this] { cmdChkAllClick(0); });
    connect(SBFree, &QComboBox::activated, this, [this](int) { SBFreeChange(); });
    connect(DCPriceGrid, &QTableWidget::cellClicked, this, [this](int row, int) { DCPriceGridClick(row); });
    RowMove::follow(DCPriceGrid, [this](int row) { DCPriceGridClick(row); });
    connect(RBAfree, &QRadioButton::clicked, this, &TFrmF301B00::RBAfreeClick);
    connect(RBPfree, &QRadioButton::clicked, this, &TFrmF301B00::RBAfreeClick);
    connect(Cfree, &QCheckBox::clicked, this, &TFrmF301B00::CfreeClick);
    connect(EdtCustNo, &QLineEdit::textChanged, this, &TFrmF301B00::EdtCustNoChange);
    connect(BBtnSave, &QPushButton::clicked, this, &TFrmF301B00::BBtnSaveClick);
    connect(BBtnSearch, &QPushButton::clicked, this, &TFrmF301B00::BBtnSearchClick);
    connect(BBtnPrint, &QPushButton::clicked, this, &TFrmF301B00::BBtnPrintClick);
    connect(BBtnClose, &QPushButton::clicked, this, &TFrmF301B00::BBtnCloseClick);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
    FormCreate();
}

TFrmF301B00::~TFrmF301B00() {
    if (FrmF301B00 == this) FrmF301B00 = nullptr;
}

void TFrmF301B00::FormCreate() {
    DMData->FillGradeCombo(CbMNo);
    items_ = ExempStore::items();
    CbItem->clear();
    SBFree->clear();
    CboItemT.clear();
    CbItem->addItem(QStringLiteral("00.모든학생"));
    SBFree->addItem(QStringLiteral("면제항목선택"));
    CboItemT << QStringLiteral("00");
    for (const ExempItem& i : items_) {
        CbItem->addItem(i.label);
        SBFree->addItem(i.label);
        CboItemT << i.itemCd;
    }
    CbItem->setCurrentIndex(0);
    SBFree->setCurrentIndex(0);
    DCPriceGrid->setHorizontalHeaderLabels(
        {QStringLiteral("수납항목"), QStringLiteral("면제구분"), QStringLiteral("면제금액"), QString()});
    DCPriceGrid->setEnabled(false);
    RBAfree->setChecked(true);
    clearList();
    clearEditArea();
}

QString TFrmF301B00::itemCodeAt(int index) const {
    return index >= 0 && index < CboItemT.size() ? CboItemT.at(index).left(2) : QStringLiteral("00");
}

void TFrmF301B00::clearList() {
    listed_.clear();
    SGrdCust->setRowCount(1);
    for (int c = 0; c < 8; ++c)
        setCell(SGrdCust, 0, c, QString());
    lblTotCnt->setText(countText(0));
    CASedit->setChecked(false);
    CASedit->setEnabled(false);
}

void TFrmF301B00::clearEditArea() {
    current_.reset();
    EdtCustNo->clear();
    MEdtSNo->clear();
    EdtNm->clear();
    SBFree->setEnabled(false);
    RBAfree->setEnabled(false);
    RBPfree->setEnabled(false);
    EBPfree->setEnabled(false);
    Cfree->setVisible(false);
    Cfree->setChecked(false);
    DCPriceGrid->setRowCount(1);
    for (int c = 0; c < 4; ++c)
        setCell(DCPriceGrid, 0, c, QString());
}

void TFrmF301B00::BBtnInquiryClick() {
    pListStudents();
    if (!listed_.isEmpty()) SGrdCustClick(std::max(0, listRow()));
}

void TFrmF301B00::pListStudents() {
    const ExempListResult r = ExempStore::listStudents(
        SHakFromEdit->text(), SBanFromEdit->text(), SBunFromEdit->text(), SHakToEdit->text(), SBanToEdit->text(),
        SBunToEdit->text(), itemCodeAt(CbItem->currentIndex()));
    if (!r.ok) {
        Msg::error(r.caption, r.error, this);
        return;
    }
    clearList();
    listed_ = r.rows;
    SGrdCust->setRowCount(std::max<int>(1, int(listed_.size())));
    for (int i = 0; i < listed_.size(); ++i) {
        const ExempStudent& s = listed_.at(i);
        const QString use = s.useTy == QLatin1String("1")   ? QStringLiteral("재학")
                            : s.useTy == QLatin1String("0") ? QStringLiteral("전출")
                                                            : QString();
        const QStringList cells{s.sNo, s.nm, use, s.custNo, s.sCd, s.sNo, s.amount, QString()};
        for (int c = 0; c < 8; ++c)
            setCell(SGrdCust, i, c, cells.at(c));
        SGrdCust->item(i, 6)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    GridFit::widenToContents(SGrdCust);
    lblTotCnt->setText(countText(int(listed_.size())));
    setListRow(0);
}

void TFrmF301B00::CbItemChange() {
    clearList();
}

void TFrmF301B00::SGrdCustClick(int row) {
    if (row < 0 || row >= listed_.size()) {
        clearEditArea();
        return;
    }
    loadStudent(listed_.at(row));
}

void TFrmF301B00::loadStudent(const ExempStudent s) {
    clearEditArea();
    current_ = s;
    EdtCustNo->setText(s.custNo);
    for (int i = 0; i < CbMNo->count(); ++i)
        if (!s.sCd.isEmpty() && CbMNo->itemText(i).startsWith(s.sCd)) {
            CbMNo->setCurrentIndex(i);
            break;
        }
    MEdtSNo->setText(s.sNo.mid(1, 6));
    EdtNm->setText(s.nm);
    if (!s.nm.isEmpty()) {
        SBFree->setEnabled(true);
        RBAfree->setEnabled(true);
        RBPfree->setEnabled(true);
    }
    // The student's exemptions in the item lists' order of codes.
    QList<QStringList> shown;
    for (const ExempRow& e : ExempStore::ofStudent(s.custNo)) {
        const int at = int(CboItemT.indexOf(e.itemCd.trimmed()));
        if (at <= 0) continue;
        shown << QStringList{items_.at(at - 1).label, e.kindText(),
                             e.hasAmount ? QString::number(e.amount) : QString(), e.itemCd.trimmed()};
    }
    DCPriceGrid->setRowCount(std::max<int>(1, int(shown.size())));
    for (int i = 0; i < shown.size(); ++i)
        for (int c = 0; c < 4; ++c)
            setCell(DCPriceGrid, i, c, shown.at(i).at(c));
    for (int i = 0; i < shown.size(); ++i)
        DCPriceGrid->item(i, 2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    GridFit::widenToContents(DCPriceGrid);
    SBFreeChange();
}

void TFrmF301B00::SGrdCustDblClick(int row, int col) {
    if (col != 7 || row < 0 || row >= listed_.size()) return;
    const bool marked = !cellOf(SGrdCust, row, 7).isEmpty();
    setCell(SGrdCust, row, 7, marked ? QString() : kMark);
    if (!marked) CASedit->setEnabled(true);
}

void TFrmF301B00::cmdChkAllClick(int tag) {
    for (int i = 0; i < listed_.size(); ++i)
        setCell(SGrdCust, i, 7, tag == 1 ? kMark : QString());
    CASedit->setEnabled(tag == 1);
    if (tag != 1) CASedit->setChecked(false);
}

int TFrmF301B00::iCountMarked() const {
    int n = 0;
    for (int i = 0; i < listed_.size(); ++i)
        if (!cellOf(SGrdCust, i, 7).isEmpty()) ++n;
    return n;
}

void TFrmF301B00::SBFreeChange() {
    const QString code = itemCodeAt(SBFree->currentIndex());
    EBPfree->setText(code == QLatin1String("00") ? QStringLiteral("0") : QString::number(DMData->GetItemAmt(code)));
    RBAfree->setChecked(true);
    const std::optional<ExempRow> row = code == QLatin1String("00")
                                            ? std::nullopt
                                            : ExempStore::find(EdtCustNo->text().trimmed(), code);
    if (!row) {
        Cfree->setVisible(false);
        Cfree->setChecked(false);
        Cfree->setEnabled(false);
    } else {
        (row->full() ? RBAfree : RBPfree)->setChecked(true);
        Cfree->setVisible(true);
        Cfree->setChecked(false);
        Cfree->setEnabled(true);
    }
    RBAfreeClick();
}

void TFrmF301B00::DCPriceGridClick(int row) {
    const QString code = cellOf(DCPriceGrid, row, 3);
    const int at = int(CboItemT.indexOf(code));
    if (code.isEmpty() || at < 0) return;
    SBFree->setCurrentIndex(at);
    SBFreeChange();
}

void TFrmF301B00::RBAfreeClick() {
    // A full exemption takes the item's amount as shown.
    const bool partial = RBPfree->isChecked() && RBPfree->isEnabled() && !Cfree->isChecked();
    EBPfree->setEnabled(partial);
    EBPfree->setBackgroundRole(partial ? QPalette::Base : QPalette::Button);
}

void TFrmF301B00::CfreeClick() {
    const bool on = Cfree->isChecked();
    RBAfree->setEnabled(!on);
    RBPfree->setEnabled(!on);
    RBAfreeClick();
}

void TFrmF301B00::EdtCustNoChange() {
    DCPriceGrid->setEnabled(!EdtCustNo->text().trimmed().isEmpty());
}

QString TFrmF301B00::logLine(const QString& action, const QString& tail) const {
    return current_ ? ExempStore::logLine(action, current_->sCd, current_->sNo, SBFree->currentText(), tail)
                    : QString();
}

void TFrmF301B00::reloadStudent() {
    if (current_) loadStudent(*current_);
}

void TFrmF301B00::BBtnSaveClick() {
    const QString plain = StudentStore::plainCaption();
    if (EdtCustNo->text().trimmed().isEmpty()) {
        Msg::show(plain, QStringLiteral("학생을 선택하세요."), MsgIcon::None, MsgButtons::Ok, this);
        return;
    }
    const bool batch = CASedit->isChecked();
    if (batch && !Msg::askYesNo(QStringLiteral("정말 적용하시겠습니까?"),
                                QStringLiteral("선택된 자료를 일괄 적용하시겠습니까?."), this))
        return;
    if (SBFree->currentIndex() <= 0) {
        Msg::show(plain, QStringLiteral("면제항목을 선택하세요."), MsgIcon::None, MsgButtons::Ok, this);
        return;
    }
    const QString custNo = EdtCustNo->text().trimmed();
    const QString itemCd = itemCodeAt(SBFree->currentIndex());
    const QString amount = EBPfree->text();
    const bool full = RBAfree->isChecked();
    const QString kind = ExempStore::kindText(full);
    const bool releasing = !Cfree->isHidden() && Cfree->isChecked();

    QList<ExempStudent> marked;
    for (int i = 0; i < listed_.size(); ++i)
        if (!cellOf(SGrdCust, i, 7).isEmpty()) marked << listed_.at(i);

    if (releasing) {
        const QString line = logLine(QStringLiteral("삭제 -> "), QStringLiteral(")"));
        const ExempResult r = batch ? ExempStore::releaseMany(marked, itemCd, line)
                                    : ExempStore::release(custNo, itemCd, kMenu, line);
        if (!r.ok) {
            Msg::error(r.caption, r.text, this);
            return;
        }
        if (batch) {
            const std::optional<ExempStudent> keep = current_;
            pListStudents();
            current_ = keep;
        }
        Cfree->setChecked(false);
        CASedit->setChecked(false);
        reloadStudent();
        return;
    }

    if (batch) {
        Msg::show(plain, QStringLiteral("일괄수정"), MsgIcon::None, MsgButtons::Ok, this);
        if (iCountMarked() < 1) {
            Msg::show(plain, QStringLiteral("선택된 레코드가 없습니다."), MsgIcon::None, MsgButtons::Ok, this);
            return;
        }
        const ExempResult r = ExempStore::saveMany(marked, itemCd, amount, full);
        if (!r.ok) {
            Msg::error(r.caption, r.text, this);
            return;
        }
        for (int i = 0; i < listed_.size(); ++i)
            setCell(SGrdCust, i, 7, QString());
        reloadStudent();
        return;
    }

    const QString tail = QStringLiteral("),  ") + amount + QStringLiteral("원 ") + kind;
    const ExempResult r = ExempStore::save(ExempSave{custNo, itemCd, amount, full}, kMenu, [&](bool inserted) {
        return logLine(inserted ? QStringLiteral("등록 -> ") : QStringLiteral("수정 -> "), tail);
    });
    if (!r.ok) {
        Msg::error(r.caption, r.text, this);
        EBPfree->setFocus();
        return;
    }
    Cfree->setChecked(false);
    reloadStudent();
}

void TFrmF301B00::BBtnSearchClick() {
    TFrmF301B01 dlg(this);
    Modal::exec(&dlg);
}

void TFrmF301B00::BBtnPrintClick() {
    if (listed_.isEmpty() || CbItem->currentIndex() <= 0) {
        Msg::error(QStringLiteral("데이터 확인"), QStringLiteral("데이터가 없거나 항목을 선택하지 않았습니다."), this);
        return;
    }
    QList<QStringList> rows;
    for (const ExempStudent& s : listed_)
        rows << QStringList{s.sNo, s.nm, s.amount};
    TFrmF301P00 report(CbItem->currentText(), rows);
    report.PreviewModal(this);
}

void TFrmF301B00::BBtnCloseClick() {
    close();
}

int TFrmF301B00::listRows() const {
    return int(listed_.size());
}

QString TFrmF301B00::listCell(int row, int col) const {
    return cellOf(SGrdCust, row, col);
}

int TFrmF301B00::listRow() const {
    return SGrdCust->currentRow();
}

void TFrmF301B00::setListRow(int row) {
    if (row < 0 || row >= SGrdCust->rowCount()) return;
    SGrdCust->setCurrentCell(row, 0);
}

bool TFrmF301B00::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return QWidget::eventFilter(watched, event);
    if (watched == SGrdCust || watched == SGrdCust->viewport()) {
        SGrdCustClick(listRow());
        DCPriceGrid->setEnabled(true);
        EdtCustNo->setFocus();
        return true;
    }
    // The search edits walk to "조회".
    const QList<QWidget*> chain{SHakFromEdit, SBanFromEdit, SBunFromEdit, SHakToEdit,
                                SBanToEdit,   SBunToEdit,   BBtnInquiry};
    const int at = int(chain.indexOf(qobject_cast<QWidget*>(watched)));
    if (at >= 0 && at + 1 < chain.size()) {
        chain.at(at + 1)->setFocus();
        return true;
    }
    if (qobject_cast<QPushButton*>(watched)) return QWidget::eventFilter(watched, event);
    focusNextChild();
    return true;
}
