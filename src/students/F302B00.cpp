#include "students/F302B00.h"

#include "data/DMModule.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "students/F302B01.h"
#include "students/StudentStore.h"
#include "students/ThreeAcrossPrint.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TFrmF302B00* FrmF302B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("F302B00"), QStringLiteral("학생그룹등록"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmF302B00(parent); }});

const QString kMark = QStringLiteral(" ◎");

QTableWidget* studentGrid(QWidget* owner, const char* name) {
    auto* g = new QTableWidget(0, 5, owner);
    g->setObjectName(QString::fromLatin1(name));
    g->setHorizontalHeaderLabels(
        {QStringLiteral("학번"), QStringLiteral("성명"), QStringLiteral("구분"), QStringLiteral("선택"), QString()});
    const int widths[] = {60, 80, 31, 31};
    for (int c = 0; c < 4; ++c)
        g->setColumnWidth(c, widths[c] + 14);
    g->setColumnHidden(4, true);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->setDefaultSectionSize(20);
    return g;
}

QString cellOf(const QTableWidget* g, int row, int col) {
    const auto* it = g->item(row, col);
    return it ? it->text() : QString();
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

// Digits of a masked filter edit.
QString digitsOf(const QLineEdit* e) {
    QString t = e->text();
    t.remove(QLatin1Char('-'));
    return t.trimmed();
}

QString numberMask() {
    return SNoLen == 5 ? QStringLiteral("0-00-00; ") : QStringLiteral("0-00-000; ");
}

} // namespace

TFrmF302B00::TFrmF302B00(QWidget* parent) : QWidget(parent) {
    FrmF302B00 = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("학생그룹등록"));
    auto* top = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    CbGrp = new QComboBox(this);
    CbGrp->setObjectName(QStringLiteral("CbGrp"));
    CbGrp->setMinimumWidth(140);
    BBtnDispGrp = new QPushButton(QStringLiteral("조회"), this);
    BBtnSaveGrp = new QPushButton(QStringLiteral("저장"), this);
    BBtnNewGrp = new QPushButton(QStringLiteral("그룹생성"), this);
    cmdModifyGroup = new QPushButton(QStringLiteral("그룹수정"), this);
    BBtnCopyGrp = new QPushButton(QStringLiteral("그룹복사"), this);
    BBtnPrint = new QPushButton(QStringLiteral("인쇄"), this);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), this);
    head->addWidget(new QLabel(QStringLiteral("그룹명"), this));
    head->addWidget(CbGrp);
    for (QPushButton* b : {BBtnDispGrp, BBtnSaveGrp, BBtnNewGrp, cmdModifyGroup, BBtnCopyGrp, BBtnPrint, BBtnClose})
        head->addWidget(b);
    head->addStretch();
    top->addLayout(head);

    auto* body = new QHBoxLayout;
    const auto side = [this](const QString& title, QLineEdit*& no, QLineEdit*& nm, QPushButton*& find,
                             QTableWidget*& grid, const char* gridName, QLabel*& count) {
        auto* col = new QVBoxLayout;
        col->addWidget(new QLabel(title, this));
        auto* f = new QHBoxLayout;
        no = new QLineEdit(this);
        no->setInputMask(numberMask());
        no->setMaximumWidth(90);
        nm = new QLineEdit(this);
        Cp949Validator::limit(nm, 20, false);
        find = new QPushButton(QStringLiteral("찾기"), this);
        f->addWidget(new QLabel(QStringLiteral("학번"), this));
        f->addWidget(no);
        f->addWidget(new QLabel(QStringLiteral("성명"), this));
        f->addWidget(nm);
        f->addWidget(find);
        col->addLayout(f);
        grid = studentGrid(this, gridName);
        col->addWidget(grid, 1);
        count = new QLabel(QStringLiteral("0 "), this);
        return col;
    };
    QVBoxLayout* left = side(QStringLiteral("미소속 학생"), MEdtNo, EdtNm, BBtnSearch, SGrdCustSrc, "SGrdCustSrc",
                             lblTotCnt1);
    auto* lm = new QHBoxLayout;
    cmdLSAll = new QPushButton(QStringLiteral("전체선택"), this);
    cmdLNAll = new QPushButton(QStringLiteral("전체취소"), this);
    cmdLSN = new QPushButton(QStringLiteral("선택반전"), this);
    for (QPushButton* b : {cmdLSAll, cmdLNAll, cmdLSN})
        lm->addWidget(b);
    lm->addStretch();
    lm->addWidget(lblTotCnt1);
    left->addLayout(lm);
    body->addLayout(left, 1);

    auto* mid = new QVBoxLayout;
    SBtnAdd = new QPushButton(QStringLiteral("->"), this);
    SBtnAllAdd = new QPushButton(QStringLiteral("->>"), this);
    SpeedButton1 = new QPushButton(QStringLiteral("<->"), this);
    SBtnAllDel = new QPushButton(QStringLiteral("<<-"), this);
    SBtnDel = new QPushButton(QStringLiteral("<-"), this);
    mid->addStretch();
    for (QPushButton* b : {SBtnAdd, SBtnAllAdd, SpeedButton1, SBtnAllDel, SBtnDel}) {
        b->setMaximumWidth(50);
        mid->addWidget(b);
    }
    mid->addStretch();
    body->addLayout(mid);

    QVBoxLayout* right = side(QStringLiteral("그룹 소속 학생"), MEdtNoSelect, EdtNmSelect, BBtnSearchSelect,
                              SGrdCustDest, "SGrdCustDest", lblTotCnt2);
    auto* rm = new QHBoxLayout;
    cmdRSAll = new QPushButton(QStringLiteral("전체선택"), this);
    cmdRNAll = new QPushButton(QStringLiteral("전체취소"), this);
    rm->addWidget(cmdRSAll);
    rm->addWidget(cmdRNAll);
    rm->addStretch();
    rm->addWidget(lblTotCnt2);
    right->addLayout(rm);
    body->addLayout(right, 1);
    top->addLayout(body, 1);

    pnProgress = new QWidget(this);
    auto* pl = new QHBoxLayout(pnProgress);
    pl->addWidget(new QLabel(QStringLiteral("이동중입니다.."), pnProgress));
    pbInit = new QProgressBar(pnProgress);
    pl->addWidget(pbInit, 1);
    pnProgress->setVisible(false);
    top->addWidget(pnProgress);

    connect(CbGrp, &QComboBox::activated, this, [this](int) { BBtnDispGrpClick(); });
    connect(BBtnDispGrp, &QPushButton::clicked, this, &TFrmF302B00::BBtnDispGrpClick);
    connect(BBtnSaveGrp, &QPushButton::clicked, this, [this] { BBtnSaveGrpClick(); });
    connect(BBtnNewGrp, &QPushButton::clicked, this, &TFrmF302B00::BBtnNewGrpClick);
    connect(cmdModifyGroup, &QPushButton::clicked, this, &TFrmF302B00::cmdModifyGroupClick);
    connect(BBtnCopyGrp, &QPushButton::clicked, this, &TFrmF302B00::BBtnCopyGrpClick);
    connect(BBtnPrint, &QPushButton::clicked, this, &TFrmF302B00::BBtnPrintClick);
    connect(BBtnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(SBtnAdd, &QPushButton::clicked, this, &TFrmF302B00::SBtnAddClick);
    connect(SBtnDel, &QPushButton::clicked, this, &TFrmF302B00::SBtnDelClick);
    connect(SBtnAllAdd, &QPushButton::clicked, this, &TFrmF302B00::SBtnAllAddClick);
    connect(SBtnAllDel, &QPushButton::clicked, this, &TFrmF302B00::SBtnAllDelClick);
    connect(SpeedButton1, &QPushButton::clicked, this, &TFrmF302B00::SpeedButton1Click);
    connect(SGrdCustSrc, &QTableWidget::cellDoubleClicked, this, [this](int r, int) { toggleMark(SGrdCustSrc, r); });
    connect(SGrdCustDest, &QTableWidget::cellDoubleClicked, this,
            [this](int r, int) { toggleMark(SGrdCustDest, r); });
    connect(cmdLSAll, &QPushButton::clicked, this, [this] { markAll(SGrdCustSrc, 1); });
    connect(cmdLNAll, &QPushButton::clicked, this, [this] { markAll(SGrdCustSrc, 0); });
    connect(cmdLSN, &QPushButton::clicked, this, [this] { markAll(SGrdCustSrc, -1); });
    connect(cmdRSAll, &QPushButton::clicked, this, [this] { markAll(SGrdCustDest, 1); });
    connect(cmdRNAll, &QPushButton::clicked, this, [this] { markAll(SGrdCustDest, 0); });
    connect(BBtnSearch, &QPushButton::clicked, this, &TFrmF302B00::BBtnSearchClick);
    connect(BBtnSearchSelect, &QPushButton::clicked, this, &TFrmF302B00::BBtnSearchSelectClick);
    // The number boxes are read when a grid is rebuilt (조회, a group change,
    // a move), so typing in them keeps the grid and its marks as they are.
    connect(EdtNm, &QLineEdit::textChanged, this, [this] { srcPos_ = 0; });
    connect(EdtNmSelect, &QLineEdit::textChanged, this, [this] { destPos_ = 0; });
    CbGrp->installEventFilter(this);
    for (QLineEdit* e : findChildren<QLineEdit*>())
        e->installEventFilter(this);

    pLoadGroupNames();
    CbGrp->setCurrentIndex(-1);
    lists_.load(QString());
    pShowSrcGrid();
    pShowDestGrid();
}

TFrmF302B00::~TFrmF302B00() {
    if (FrmF302B00 == this) FrmF302B00 = nullptr;
}

void TFrmF302B00::pLoadGroupNames() {
    CbGrp->clear();
    CbGrp->addItems(StGroupStore::names());
}

void TFrmF302B00::BBtnDispGrpClick() {
    lists_.load(CbGrp->currentText());
    pShowSrcGrid();
    pShowDestGrid();
}

void TFrmF302B00::showGrid(QTableWidget* grid, QLabel* count, const QList<StGroupStudent>& list,
                           const QString& filter) {
    const QList<StGroupStudent> shown = StGroupLists::filtered(list, filter);
    grid->clearContents();
    grid->setRowCount(std::max<int>(1, int(shown.size())));
    for (int i = 0; i < shown.size(); ++i) {
        const StGroupStudent& s = shown.at(i);
        const QStringList cells{s.sNo.trimmed(), s.nm.trimmed(),
                                s.enrolled() ? QStringLiteral("재학") : QStringLiteral("전출"), QString(),
                                s.custNo.trimmed()};
        for (int c = 0; c < 5; ++c)
            setCell(grid, i, c, cells.at(c));
    }
    count->setText(QLocale(QLocale::Korean).toString(int(shown.size())) + QLatin1Char(' '));
}

void TFrmF302B00::pShowSrcGrid() {
    showGrid(SGrdCustSrc, lblTotCnt1, lists_.src(), digitsOf(MEdtNo));
}

void TFrmF302B00::pShowDestGrid() {
    showGrid(SGrdCustDest, lblTotCnt2, lists_.dest(), digitsOf(MEdtNoSelect));
}

QStringList TFrmF302B00::rowsOf(QTableWidget* grid, bool markedOnly) const {
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r) {
        const QString c = cellOf(grid, r, 4);
        if (c.isEmpty()) continue;
        if (!markedOnly || cellOf(grid, r, 3) == kMark) out << c;
    }
    return out;
}

void TFrmF302B00::SBtnAddClick() {
    if (lists_.src().isEmpty()) return;
    lists_.toDest(rowsOf(SGrdCustSrc, true));
    pShowSrcGrid();
    pShowDestGrid();
}

void TFrmF302B00::SBtnDelClick() {
    if (lists_.dest().isEmpty()) return;
    lists_.toSrc(rowsOf(SGrdCustDest, true));
    pShowSrcGrid();
    pShowDestGrid();
}

void TFrmF302B00::SBtnAllAddClick() {
    if (lists_.src().isEmpty()) return;
    const QStringList rows = rowsOf(SGrdCustSrc, false);
    pnProgress->setVisible(true);
    pbInit->setRange(0, int(rows.size()));
    lists_.toDest(rows);
    pbInit->setValue(int(rows.size()));
    pnProgress->setVisible(false);
    pShowSrcGrid();
    pShowDestGrid();
}

void TFrmF302B00::SBtnAllDelClick() {
    if (lists_.dest().isEmpty()) return;
    const QStringList rows = rowsOf(SGrdCustDest, false);
    pnProgress->setVisible(true);
    pbInit->setRange(0, int(rows.size()));
    lists_.toSrc(rows);
    pbInit->setValue(int(rows.size()));
    pnProgress->setVisible(false);
    pShowSrcGrid();
    pShowDestGrid();
}

void TFrmF302B00::SpeedButton1Click() {
    if (lists_.dest().isEmpty()) return;
    const QStringList right = rowsOf(SGrdCustDest, false);
    const QStringList left = rowsOf(SGrdCustSrc, false);
    pnProgress->setVisible(true);
    lists_.toSrc(right);
    if (!lists_.src().isEmpty()) lists_.toDest(left);
    pnProgress->setVisible(false);
    pShowSrcGrid();
    pShowDestGrid();
}

void TFrmF302B00::toggleMark(QTableWidget* grid, int row) {
    if (cellOf(grid, row, 4).isEmpty()) return;
    setCell(grid, row, 3, cellOf(grid, row, 3) == kMark ? QString() : kMark);
}

void TFrmF302B00::markAll(QTableWidget* grid, int how) {
    if (how != 0 && cellOf(grid, 0, 0).isEmpty()) return;
    for (int r = 0; r < grid->rowCount(); ++r) {
        if (cellOf(grid, r, 4).isEmpty()) continue;
        const bool on = how == 1 || (how == -1 && cellOf(grid, r, 3) != kMark);
        setCell(grid, r, 3, on ? kMark : QString());
    }
}

void TFrmF302B00::findIn(QTableWidget* grid, QLineEdit* number, QLineEdit* name, int& pos) {
    const QString digits = digitsOf(number);
    const int rows = grid->rowCount();
    if (!digits.isEmpty()) {
        for (int r = 0; r < rows; ++r)
            if (cellOf(grid, r, 0) == digits) {
                grid->setCurrentCell(r, 0);
                return;
            }
        return;
    }
    const QString text = name->text();
    if (text.isEmpty()) return;
    // pos numbers the rows as the grid counts them with its header row: the
    // data rows are 1 .. rows, and rows + 1 is the grid's row count, the
    // position a search that reached the last row stands on.
    const int rowCount = rows + 1;
    // A position past the end (the grid shrank since) starts again as well.
    if (pos == 0 || pos >= rowCount) pos = 1;
    while (pos < rowCount) {
        const int r = pos - 1;
        ++pos;
        if (cellOf(grid, r, 1).trimmed() == text.trimmed()) {
            grid->setCurrentCell(r, 0);
            break;
        }
    }
    if (pos == rowCount)
        Msg::info(QStringLiteral("찾기"), QStringLiteral("자료의 끝입니다.\r\n다시 조회하시려면 찾기를 누르세요!! "),
                  this);
}

void TFrmF302B00::BBtnSearchClick() {
    findIn(SGrdCustSrc, MEdtNo, EdtNm, srcPos_);
}

void TFrmF302B00::BBtnSearchSelectClick() {
    findIn(SGrdCustDest, MEdtNoSelect, EdtNmSelect, destPos_);
}

void TFrmF302B00::selectName(const QString& name) {
    CbGrp->setCurrentIndex(CbGrp->findText(name));
}

bool TFrmF302B00::BBtnSaveGrpClick() {
    const QString name = CbGrp->currentText().trimmed();
    if (name.isEmpty()) {
        Msg::show(StudentStore::plainCaption(), QStringLiteral("그룹명을 확인하세요."), MsgIcon::None,
                  MsgButtons::Ok, this);
        return false;
    }
    bool saved = false;
    if (Msg::askYesNo(QStringLiteral("저장"), QStringLiteral("저장하시겠습니까?"), this)) {
        BBtnSaveGrp->setEnabled(false);
        pnProgress->setVisible(true);
        const StGroupResult r = StGroupStore::save(name, lists_.dest());
        pnProgress->setVisible(false);
        BBtnSaveGrp->setEnabled(true);
        if (r.ok) {
            Msg::info(QStringLiteral("저장"), QStringLiteral("저장하였습니다!"), this);
            saved = true;
        } else {
            Msg::error(r.caption, r.text, this);
        }
    }
    pLoadGroupNames();
    selectName(name);
    return saved;
}

void TFrmF302B00::BBtnNewGrpClick() {
    CbGrp->setCurrentIndex(-1);
    BBtnDispGrpClick();
    TFrmF302B01 dlg(this);
    if (Modal::exec(&dlg) != QDialog::Accepted) return;
    const QString name = dlg.edtGroupNm->text().trimmed();
    CbGrp->insertItem(0, name);
    CbGrp->setCurrentIndex(0);
}

void TFrmF302B00::cmdModifyGroupClick() {
    const QString old = CbGrp->currentText().trimmed();
    if (old.isEmpty()) {
        Msg::show(StudentStore::plainCaption(), QStringLiteral("그룹명을 확인하세요."), MsgIcon::None,
                  MsgButtons::Ok, this);
        return;
    }
    TFrmF302B02 dlg(old, false, this);
    if (Modal::exec(&dlg) != QDialog::Accepted) return;
    const QString name = dlg.sleNewGroup->text().trimmed();
    if (name.isEmpty()) return;
    const StGroupResult r = StGroupStore::rename(old, name);
    if (!r.ok) {
        Msg::show(StudentStore::plainCaption(), r.text, MsgIcon::None, MsgButtons::Ok, this);
        return;
    }
    pLoadGroupNames();
    selectName(name);
    BBtnDispGrpClick();
    Msg::show(StudentStore::plainCaption(), QStringLiteral("변경되었습니다."), MsgIcon::None, MsgButtons::Ok, this);
}

void TFrmF302B00::BBtnCopyGrpClick() {
    const QString old = CbGrp->currentText().trimmed();
    if (old.isEmpty()) {
        Msg::show(StudentStore::plainCaption(), QStringLiteral("그룹명을 확인하세요."), MsgIcon::None,
                  MsgButtons::Ok, this);
        return;
    }
    TFrmF302B02 dlg(old, true, this);
    if (Modal::exec(&dlg) != QDialog::Accepted) return;
    const QString name = dlg.sleNewGroup->text().trimmed();
    if (name.isEmpty()) return;
    CbGrp->insertItem(0, name);
    CbGrp->setCurrentIndex(0);
    BBtnSaveGrpClick();
}

void TFrmF302B00::BBtnPrintClick() {
    if (cellOf(SGrdCustDest, 0, 0).isEmpty() || CbGrp->currentText().isEmpty()) {
        Msg::error(QStringLiteral("데이터 확인"), QStringLiteral("그룹명 또는 그륩 소속 학생이 없습니다."), this);
        return;
    }
    // The member grid as shown.
    QList<QStringList> rows;
    for (int r = 0; r < SGrdCustDest->rowCount(); ++r)
        if (!cellOf(SGrdCustDest, r, 0).isEmpty())
            rows << QStringList{cellOf(SGrdCustDest, r, 0), cellOf(SGrdCustDest, r, 1), cellOf(SGrdCustDest, r, 2)};
    TFrmF302P00 report(CbGrp->currentText(), rows);
    report.PreviewModal(this);
}

bool TFrmF302B00::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    // The group choice takes no typing: new names come from "그룹생성".
    if (watched == CbGrp && key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Tab) return true;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        focusNextChild();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
