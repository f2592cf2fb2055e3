#include "van/FileInquiryForm.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/GridFit.h"
#include "platform/ui/Msg.h"

#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace FileInquiry;

namespace {

// Enter in a filter moves on to the next control.
class EnterMovesOn : public QObject {
public:
    using QObject::QObject;
    QWidget* next = nullptr;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(e)->key();
            if ((k == Qt::Key_Return || k == Qt::Key_Enter) && next) {
                next->setFocus();
                return true;
            }
        }
        return QObject::eventFilter(o, e);
    }
};

void onEnter(QWidget* w, QWidget* next) {
    auto* f = new EnterMovesOn(w);
    f->next = next;
    w->installEventFilter(f);
}

QString digits(const QLineEdit* e) {
    QString t = e->text();
    t.remove(QLatin1Char('-'));
    return t.trimmed();
}

} // namespace

QLabel* TFileInquiryForm::panel(QWidget* owner, const char* name, int width) {
    auto* l = new QLabel(owner);
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumWidth(width);
    return l;
}

QTableWidget* TFileInquiryForm::grid(QWidget* owner, const char* name,
                                     const QList<std::pair<const char16_t*, int>>& cols) {
    auto* g = new QTableWidget(1, int(cols.size()), owner);
    g->setObjectName(QString::fromLatin1(name));
    QStringList titles;
    for (int c = 0; c < cols.size(); ++c) {
        titles << QString::fromUtf16(cols[c].first);
        g->setColumnWidth(c, cols[c].second);
    }
    g->setHorizontalHeaderLabels(titles);
    for (int c = 0; c < cols.size(); ++c)
        GridFit::widen(g, c);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->setDefaultSectionSize(20);
    g->verticalHeader()->hide();
    return g;
}

// One row per record; one empty row when there is none. Amounts come padded
// to their printed width: the grid shows them whole, right-aligned.
void TFileInquiryForm::fill(QTableWidget* g, const QList<QStringList>& rows) {
    g->clearContents();
    g->setRowCount(std::max<int>(1, int(rows.size())));
    QList<int> amounts;
    for (int c = 0; c < g->columnCount(); ++c) {
        const bool amount =
            g->horizontalHeaderItem(c) && g->horizontalHeaderItem(c)->text() == QStringLiteral("금액");
        if (amount) amounts << c;
        for (int r = 0; r < rows.size(); ++r) {
            if (c >= rows[r].size()) continue;
            g->setItem(r, c, amount ? GridFit::figureItem(rows[r][c]) : new QTableWidgetItem(rows[r][c]));
        }
    }
    GridFit::widenToRows(g, rows, amounts);
}

TFileInquiryForm::TFileInquiryForm(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_DeleteOnClose);
    const bool sent = kind == Kind::Sent;
    auto* top = new QVBoxLayout(this);
    PageControl = new QStackedWidget(this);
    top->addWidget(PageControl);

    // List page.
    TabShtList = new QWidget(PageControl);
    TabShtList->setObjectName(sent ? QStringLiteral("TabShtSendList") : QStringLiteral("TabShtRecvList"));
    auto* lv = new QVBoxLayout(TabShtList);
    auto* filters = new QHBoxLayout;
    CbBank = new QComboBox(TabShtList);
    CbBank->setObjectName(QStringLiteral("CbBank"));
    CbBank->setMinimumWidth(150);
    MEdtYearMon = new QLineEdit(TabShtList);
    MEdtYearMon->setObjectName(QStringLiteral("MEdtYearMon"));
    MEdtYearMon->setInputMask(QStringLiteral("0000-00; "));
    MEdtYearMon->setMaximumWidth(80);
    MEdtSeqNo = new QLineEdit(TabShtList);
    MEdtSeqNo->setObjectName(QStringLiteral("MEdtSeqNo"));
    MEdtSeqNo->setInputMask(QStringLiteral("00; "));
    MEdtSeqNo->setMaximumWidth(40);
    edtCnt = new QLineEdit(TabShtList);
    edtCnt->setObjectName(QStringLiteral("edtCnt"));
    // Counts are digits only.
    edtCnt->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), edtCnt));
    edtCnt->setMaximumWidth(80);
    BBtnSearch = new QPushButton(QStringLiteral("조회"), TabShtList);
    bbtnDtlData = new QPushButton(QStringLiteral("상세자료"), TabShtList);
    bbtnDel = new QPushButton(QStringLiteral("삭제"), TabShtList);
    bbtnDone = new QPushButton(QStringLiteral("닫기"), TabShtList);
    filters->addWidget(new QLabel(QStringLiteral("은행"), TabShtList));
    filters->addWidget(CbBank);
    filters->addWidget(new QLabel(QStringLiteral("이체년월"), TabShtList));
    filters->addWidget(MEdtYearMon);
    filters->addWidget(new QLabel(QStringLiteral("회차"), TabShtList));
    filters->addWidget(MEdtSeqNo);
    filters->addWidget(new QLabel(QStringLiteral("자료건수"), TabShtList));
    filters->addWidget(edtCnt);
    for (QPushButton* b : {BBtnSearch, bbtnDtlData, bbtnDel, bbtnDone})
        filters->addWidget(b);
    filters->addStretch();
    lv->addLayout(filters);
    SGrdList = grid(TabShtList, sent ? "SGrdSendList" : "SGrdRecvList",
                    {{u"이체년월", 70},
                     {u"회차", 40},
                     {u"화일명", 110},
                     {u"화일타입", 60},
                     {u"은행", 90},
                     {sent ? u"전송일자" : u"파일풀기일자", 90},
                     {u"자료건수", 70}});
    lv->addWidget(SGrdList, 1);
    PageControl->addWidget(TabShtList);

    TabShtDetail = new QWidget(PageControl);
    TabShtDetail->setObjectName(QStringLiteral("TabShtDetail"));
    PageControl->addWidget(TabShtDetail);
    PnlBnkNm = panel(TabShtDetail, "PnlBnkNm", 120);
    PnlPrentAcctNo = panel(TabShtDetail, "PnlPrentAcctNo", 150);
    PnlStrtDate = panel(TabShtDetail, "PnlStrtDate", 90);
    PnlEndDate = panel(TabShtDetail, "PnlEndDate", 90);
    btnPrint = new QPushButton(QStringLiteral("인쇄"), TabShtDetail);
    btnRtn = new QPushButton(QStringLiteral("닫기"), TabShtDetail);

    // Keyboard: Enter and full fields move on.
    if (sent) {
        onEnter(CbBank, MEdtYearMon);
        onEnter(MEdtYearMon, MEdtSeqNo);
        onEnter(MEdtSeqNo, edtCnt);
        onEnter(edtCnt, BBtnSearch);
        setTabOrder(CbBank, MEdtYearMon);
        setTabOrder(MEdtYearMon, MEdtSeqNo);
        setTabOrder(MEdtSeqNo, edtCnt);
        setTabOrder(edtCnt, BBtnSearch);
    } else {
        onEnter(edtCnt, BBtnSearch);
        setTabOrder(CbBank, edtCnt);
        setTabOrder(edtCnt, BBtnSearch);
        setTabOrder(BBtnSearch, MEdtYearMon);
        setTabOrder(MEdtYearMon, MEdtSeqNo);
    }
    connect(MEdtYearMon, &QLineEdit::textEdited, this, [this] {
        if (digits(MEdtYearMon).size() == 6) MEdtSeqNo->setFocus();
    });
    connect(MEdtSeqNo, &QLineEdit::textEdited, this, [this] {
        if (digits(MEdtSeqNo).size() == 2) edtCnt->setFocus();
    });

    connect(BBtnSearch, &QPushButton::clicked, this, [this] { BBtnSearchClick(); });
    connect(bbtnDtlData, &QPushButton::clicked, this, [this] { bbtnDtlDataClick(); });
    connect(SGrdList, &QTableWidget::cellDoubleClicked, this, [this] { bbtnDtlDataClick(); });
    connect(bbtnDel, &QPushButton::clicked, this, [this] { bbtnDelClick(); });
    connect(bbtnDone, &QPushButton::clicked, this, &QWidget::close);
    connect(btnRtn, &QPushButton::clicked, this, [this] { PageControl->setCurrentWidget(TabShtList); });

    CbBank->addItem(QStringLiteral("00.모든은행"));
    Query q(QStringLiteral("select T1.BankCd, T2.BankNm from C_ACCT T1, C_BANK T2 "
                           "where T1.BankCd = T2.BankCd group by T1.BankCd, T2.BankNm "));
    if (q.exec())
        while (q.next())
            CbBank->addItem(q.str(0) + QLatin1Char('.') + q.str(1));
    CbBank->setCurrentIndex(0);
}

void TFileInquiryForm::buildDetail(QWidget* body) {
    auto* dv = new QVBoxLayout(TabShtDetail);
    auto* head = new QGridLayout;
    head->addWidget(new QLabel(QStringLiteral("은      행"), TabShtDetail), 0, 0);
    head->addWidget(PnlBnkNm, 0, 1);
    head->addWidget(new QLabel(QStringLiteral("모계좌"), TabShtDetail), 0, 2);
    head->addWidget(PnlPrentAcctNo, 0, 3);
    head->addWidget(new QLabel(QStringLiteral("이체일자"), TabShtDetail), 0, 4);
    head->addWidget(PnlStrtDate, 0, 5);
    head->addWidget(new QLabel(QStringLiteral("~"), TabShtDetail), 0, 6);
    head->addWidget(PnlEndDate, 0, 7);
    head->addWidget(btnPrint, 0, 8);
    head->addWidget(btnRtn, 0, 9);
    head->setColumnStretch(10, 1);
    dv->addLayout(head);
    dv->addWidget(body, 1);
}

void TFileInquiryForm::pShowList(const QString& bank) {
    ListFilter f;
    f.bankCd = bank;
    const QString ym = digits(MEdtYearMon);
    if (!ym.isEmpty()) f.yearMonFrom = f.yearMonTo = ym;
    f.seqNo = digits(MEdtSeqNo);
    f.count = edtCnt->text().trimmed();
    QString err;
    rows_.clear();
    if (!list(kind_, f, &rows_, &err)) Msg::error(QStringLiteral("오류"), err, this);
    SGrdList->clearContents();
    SGrdList->setRowCount(std::max<int>(1, int(rows_.size())));
    for (int r = 0; r < rows_.size(); ++r) {
        const BookRow& b = rows_[r];
        const QStringList cells{b.yearMon, b.seqNo, b.fileName, QString(), b.bankNm, b.srDate, b.dataCnt.trimmed()};
        for (int c = 0; c < cells.size(); ++c) {
            auto* it = new QTableWidgetItem(cells[c]);
            if (c == 3) {
                if (b.fileType == QLatin1String("2")) {
                    it->setText(QStringLiteral("집금"));
                    it->setForeground(Qt::blue);
                } else if (b.fileType == QLatin1String("3")) {
                    it->setText(QStringLiteral("배분"));
                    it->setForeground(Qt::red);
                }
            }
            if (c == 6) it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            SGrdList->setItem(r, c, it);
        }
    }
    GridFit::widenToContents(SGrdList);
    if (!rows_.isEmpty()) SGrdList->selectRow(0);
}

void TFileInquiryForm::BBtnSearchClick() {
    pShowList(CbBank->currentText().left(2));
}

void TFileInquiryForm::bbtnDtlDataClick() {
    const int r = SGrdList->currentRow();
    if (r < 0 || r >= rows_.size() || rows_[r].fileName.trimmed().isEmpty()) return;
    const BookRow& row = rows_[r];
    if (!QFile::exists(DMLib->dir(folder(kind_)) + row.fileName.trimmed())) {
        Msg::error(QStringLiteral("파일없음"), QStringLiteral("파일이 존재하지 않습니다!!"), this);
        return;
    }
    clearDetail();
    const FileView v = view(kind_, row);
    if (v.status == FileView::Status::Unreadable || v.status == FileView::Status::Malformed) {
        view_ = v;
        showView(v);
        Msg::error(QStringLiteral("화일오류"), v.message, this);
    } else if (v.status == FileView::Status::Shown) {
        view_ = v;
        showView(v);
    } else {
        // No viewer for the layout: the grids stay empty, so does the printout.
        view_.rows.clear();
        view_.failRows.clear();
    }
    PageControl->setCurrentWidget(TabShtDetail);
}

void TFileInquiryForm::bbtnDelClick() {
    const int r = SGrdList->currentRow();
    if (r < 0 || r >= rows_.size()) return;
    const QString name = rows_[r].fileName.trimmed();
    if (name.isEmpty()) return;
    if (Msg::show(QStringLiteral("확인"), name + QStringLiteral("파일을 정말로 삭제하시겠습니까??"),
                  MsgIcon::Question, MsgButtons::OkCancel, this) != MsgResult::Ok)
        return;
    if (!remove(kind_, name)) {
        Msg::error(QStringLiteral("삭제실패"), QStringLiteral("삭제되지 않았습니다!!"), this);
        return;
    }
    BBtnSearchClick();
}
