#include "van/M301B00.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/GridFit.h"
#include "platform/ui/Msg.h"
#include "transfers/common/KeyEdit.h"
#include "transfers/common/Rounds.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace TransferHistory;

TFrmM301B00* FrmM301B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("M301B00"), QStringLiteral("학생별이체자료조회"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmM301B00(parent); }});

const QString kCaption = QStringLiteral("학생별이체현황");

// The grid keeps the stored text; these columns only draw it decorated.
class Decorated : public QStyledItemDelegate {
public:
    Decorated(QString (*f)(const QString&), QObject* parent) : QStyledItemDelegate(parent), f_(f) {}
    QString displayText(const QVariant& v, const QLocale&) const override { return f_(v.toString()); }

private:
    QString (*f_)(const QString&);
};

QString digitsOf(const QLineEdit* e) {
    return TDMLib::DigitsOnly(e->text());
}

bool typesText(const QKeyEvent* e) {
    return !e->text().isEmpty() && e->text().at(0).isPrint();
}

} // namespace

TFrmM301B00::TFrmM301B00(QWidget* parent) : QWidget(parent) {
    FrmM301B00 = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FrmM301B00"));
    setWindowTitle(kCaption);
    auto* top = new QVBoxLayout(this);

    // Span of months and the students.
    auto* row1 = new QHBoxLayout;
    cboYearF = new QComboBox(this);
    cboYearF->setObjectName(QStringLiteral("cboYearF"));
    cboYearT = new QComboBox(this);
    cboYearT->setObjectName(QStringLiteral("cboYearT"));
    row1->addWidget(new QLabel(QStringLiteral("작성년월"), this));
    row1->addWidget(cboYearF);
    row1->addWidget(new QLabel(QStringLiteral("~"), this));
    row1->addWidget(cboYearT);
    row1->addSpacing(16);
    rbHakBun = new QRadioButton(QStringLiteral("학번"), this);
    rbHakBun->setObjectName(QStringLiteral("rbHakBun"));
    rbName = new QRadioButton(QStringLiteral("성명"), this);
    rbName->setObjectName(QStringLiteral("rbName"));
    rbHakBun->setChecked(true);
    auto* mode = new QButtonGroup(this);
    mode->addButton(rbHakBun, 0);
    mode->addButton(rbName, 1);
    row1->addWidget(rbHakBun);
    row1->addWidget(rbName);
    SHakEdit = new TKeyEdit(this);
    SHakEdit->setObjectName(QStringLiteral("SHakEdit"));
    SHakEdit->setMaxLength(1);
    SBanEdit = new TKeyEdit(this);
    SBanEdit->setObjectName(QStringLiteral("SBanEdit"));
    SBanEdit->setMaxLength(2);
    SBunEdit = new TKeyEdit(this);
    SBunEdit->setObjectName(QStringLiteral("SBunEdit"));
    SBunEdit->setMaxLength(SNoLen - 3);
    for (QLineEdit* e : {static_cast<QLineEdit*>(SHakEdit), static_cast<QLineEdit*>(SBanEdit),
                         static_cast<QLineEdit*>(SBunEdit)})
        e->setMaximumWidth(40);
    sleName = new QLineEdit(this);
    sleName->setObjectName(QStringLiteral("sleName"));
    sleName->setMaximumWidth(140);
    sleName->hide();
    row1->addWidget(SHakEdit);
    row1->addWidget(new QLabel(QStringLiteral("학년"), this));
    row1->addWidget(SBanEdit);
    row1->addWidget(new QLabel(QStringLiteral("반"), this));
    row1->addWidget(SBunEdit);
    row1->addWidget(new QLabel(QStringLiteral("번"), this));
    row1->addWidget(sleName);
    row1->addStretch();
    bbtnSearch = new QPushButton(QStringLiteral("검색"), this);
    bbtnSearch->setObjectName(QStringLiteral("bbtnSearch"));
    bbtnPrint = new QPushButton(QStringLiteral("인쇄"), this);
    bbtnPrint->setObjectName(QStringLiteral("bbtnPrint"));
    bbtnPrint->setEnabled(false);
    BBtnExcel = new QPushButton(QStringLiteral("엑셀저장"), this);
    BBtnExcel->setObjectName(QStringLiteral("BBtnExcel"));
    bbtnClose = new QPushButton(QStringLiteral("닫기"), this);
    bbtnClose->setObjectName(QStringLiteral("bbtnClose"));
    for (QPushButton* b : {bbtnSearch, bbtnPrint, BBtnExcel, bbtnClose})
        row1->addWidget(b);
    top->addLayout(row1);

    // State, items and transfer dates.
    auto* row2 = new QHBoxLayout;
    auto* state = new QGroupBox(QStringLiteral("이체구분"), this);
    state->setObjectName(QStringLiteral("RdoShftClsfy"));
    auto* sl = new QHBoxLayout(state);
    const QStringList states{QStringLiteral("전체"), QStringLiteral("처리"), QStringLiteral("미처리")};
    for (int i = 0; i < 3; ++i) {
        RdoShftClsfy[i] = new QRadioButton(states[i], state);
        sl->addWidget(RdoShftClsfy[i]);
    }
    RdoShftClsfy[0]->setChecked(true);
    row2->addWidget(state);
    auto* groupBox = new QVBoxLayout;
    groupBox->addWidget(new QLabel(QStringLiteral("항목그룹"), this));
    cboGroup = new QComboBox(this);
    cboGroup->setObjectName(QStringLiteral("cboGroup"));
    cboGroup->setMinimumWidth(140);
    groupBox->addWidget(cboGroup);
    groupBox->addStretch();
    row2->addLayout(groupBox);
    row2->addWidget(new QLabel(QStringLiteral("항목"), this), 0, Qt::AlignTop);
    CLbItem = new QListWidget(this);
    CLbItem->setObjectName(QStringLiteral("CLbItem"));
    CLbItem->setSortingEnabled(true);
    CLbItem->setMaximumHeight(70);
    CLbItem->setMaximumWidth(200);
    row2->addWidget(CLbItem);
    row2->addWidget(new QLabel(QStringLiteral("이체일자"), this));
    MEdtSetlDt = new TKeyEdit(this);
    MEdtSetlDt->setObjectName(QStringLiteral("MEdtSetlDt"));
    MEdtSetlDt2 = new QLineEdit(this);
    MEdtSetlDt2->setObjectName(QStringLiteral("MEdtSetlDt2"));
    for (QLineEdit* e : {static_cast<QLineEdit*>(MEdtSetlDt), MEdtSetlDt2}) {
        e->setInputMask(QStringLiteral("0000-00-00; "));
        e->setMaximumWidth(100);
    }
    row2->addWidget(MEdtSetlDt);
    row2->addWidget(new QLabel(QStringLiteral("~"), this));
    row2->addWidget(MEdtSetlDt2);
    row2->addStretch();
    top->addLayout(row2);

    SGrdStudentShft = new QTableWidget(1, ColCount, this);
    SGrdStudentShft->setObjectName(QStringLiteral("SGrdStudentShft"));
    SGrdStudentShft->setHorizontalHeaderLabels(kTitles);
    static const int widths[ColCount] = {60, 60, 30, 60, 30, 60, 110, 90, 75, 30, 50, 100, 75, 100};
    for (int c = 0; c < ColCount; ++c)
        SGrdStudentShft->setColumnWidth(c, widths[c] + 12);
    SGrdStudentShft->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGrdStudentShft->setSelectionMode(QAbstractItemView::SingleSelection);
    SGrdStudentShft->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGrdStudentShft->verticalHeader()->setDefaultSectionSize(20);
    SGrdStudentShft->verticalHeader()->hide();
    SGrdStudentShft->setItemDelegateForColumn(ColAmt, new Decorated(amountCell, SGrdStudentShft));
    SGrdStudentShft->setItemDelegateForColumn(ColReAmt, new Decorated(amountCell, SGrdStudentShft));
    SGrdStudentShft->setItemDelegateForColumn(ColExemp, new Decorated(exempMark, SGrdStudentShft));
    SGrdStudentShft->setItemDelegateForColumn(ColReply, new Decorated(replyText, SGrdStudentShft));
    top->addWidget(SGrdStudentShft, 1);

    // The totals, four pairs a line.
    auto* sums = new QGridLayout;
    static const char* names[14] = {"PnlProcCnt1", "PnlProcAmt1", "PnlNonProcCnt1", "PnlNonProcAmt1",
                                    "PnlProcCnt2", "PnlProcAmt2", "PnlNonProcCnt2", "PnlNonProcAmt2",
                                    "PnlExempCnt", "PnlExempAmt", "PnlReCnt",       "PnlReAmt",
                                    "PnlReCnt2",   "PnlReAmt2"};
    const QStringList captions = {
        QStringLiteral("집금처리건수"),   QStringLiteral("집금처리금액"),   QStringLiteral("집금미처리건수"),
        QStringLiteral("집금미처리금액"), QStringLiteral("배분처리건수"),   QStringLiteral("배분처리금액"),
        QStringLiteral("배분미처리건수"), QStringLiteral("배분미처리금액"), QStringLiteral("면제건수"),
        QStringLiteral("면제금액"),       QStringLiteral("환불건수"),       QStringLiteral("환불금액"),
        QStringLiteral("부분환불건수"),   QStringLiteral("부분환불금액")};
    for (int i = 0; i < 14; ++i) {
        panels[i] = new QLabel(this);
        panels[i]->setObjectName(QString::fromLatin1(names[i]));
        panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        panels[i]->setMinimumWidth(i % 2 ? 120 : 60);
        sums->addWidget(new QLabel(captions[i], this), i / 4, (i % 4) * 2);
        sums->addWidget(panels[i], i / 4, (i % 4) * 2 + 1);
    }
    top->addLayout(sums);

    pnProgress = new QFrame(this);
    pnProgress->setObjectName(QStringLiteral("pnProgress"));
    pnProgress->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnProgress->setAutoFillBackground(true);
    auto* pl = new QVBoxLayout(pnProgress);
    txtProgress = new QLabel(pnProgress);
    pbInit = new QProgressBar(pnProgress);
    pl->addWidget(txtProgress);
    pl->addWidget(pbInit);
    pnProgress->resize(320, 70);
    pnProgress->hide();

    // FormCreate.
    yearMons_ = yearMons();
    cboYearF->addItems(yearMons_);
    cboYearT->addItems(yearMons_);
    if (DMData) DMData->FillGroupCombo(cboGroup, QString());
    cboGroup->setCurrentIndex(cboGroup->count() > 0 ? 0 : -1);
    cboGroupChange();

    connect(cboYearF, &QComboBox::activated, this, [this] { cboYearFClick(); });
    connect(rbHakBun, &QRadioButton::clicked, this, [this] { rbHakBunClick(); });
    connect(rbName, &QRadioButton::clicked, this, [this] { rbHakBunClick(); });
    connect(cboGroup, &QComboBox::activated, this, [this] { cboGroupChange(); });
    connect(sleName, &QLineEdit::textEdited, this, [this] { clearGrid(); });
    connect(bbtnSearch, &QPushButton::clicked, this, [this] { bbtnSearchClick(); });
    connect(bbtnPrint, &QPushButton::clicked, this, [this] { bbtnPrintClick(); });
    connect(BBtnExcel, &QPushButton::clicked, this, [this] { BBtnExcelClick(); });
    connect(bbtnClose, &QPushButton::clicked, this, [this] { close(); });

    // The number edits hand the focus on as the student number fills up.
    SHakEdit->afterKey = [this](QKeyEvent* e, const QString& before) {
        if (before.isEmpty() && typesText(e)) SBanEdit->setFocus();
    };
    SBanEdit->afterKey = [this](QKeyEvent* e, const QString& before) {
        if (before.size() == 1 && typesText(e)) SBunEdit->setFocus();
    };
    SBanEdit->onKey = [this](QKeyEvent* e, const QString& before) {
        if (e->key() == Qt::Key_Backspace && before.isEmpty()) {
            SHakEdit->setFocus();
            return true;
        }
        return false;
    };
    SBunEdit->onKey = [this](QKeyEvent* e, const QString& before) {
        if (e->key() == Qt::Key_Backspace && before.isEmpty()) {
            SBanEdit->setFocus();
            return true;
        }
        return false;
    };
    MEdtSetlDt->afterKey = [this](QKeyEvent* e, const QString& before) {
        if (TDMLib::DigitsOnly(before).size() == 7 && typesText(e)) MEdtSetlDt2->setFocus();
    };
    // Enter moves on and is consumed: no control acts on it.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus) w->installEventFilter(this);
}

TFrmM301B00::~TFrmM301B00() {
    if (FrmM301B00 == this) FrmM301B00 = nullptr;
}

bool TFrmM301B00::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress && isEnterKey(static_cast<QKeyEvent*>(e))) {
        focusNextChild();
        return true;
    }
    return QWidget::eventFilter(o, e);
}

void TFrmM301B00::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    pnProgress->move((width() - pnProgress->width()) / 2, (height() - pnProgress->height()) / 2);
}

void TFrmM301B00::cboYearFClick() {
    cboYearT->clear();
    cboYearT->addItems(yearMonsFrom(yearMons_, cboYearF->currentText()));
    cboYearT->setCurrentIndex(cboYearT->count() > 0 ? 0 : -1);
    clearGrid();
    if (rbName->isChecked())
        sleName->setFocus();
    else
        SHakEdit->setFocus();
}

void TFrmM301B00::rbHakBunClick() {
    clearGrid();
    const bool byName = rbName->isChecked();
    for (QWidget* w :
         {static_cast<QWidget*>(SHakEdit), static_cast<QWidget*>(SBanEdit), static_cast<QWidget*>(SBunEdit)})
        w->setVisible(!byName);
    sleName->setVisible(byName);
    if (byName)
        sleName->setFocus();
    else
        SHakEdit->setFocus();
}

void TFrmM301B00::cboGroupChange() {
    CLbItem->clear();
    if (!DMData) return;
    DMData->SetItemGroup(cboGroup->currentText().left(2));
    DMData->FillItemCheckList(CLbItem);
}

Selection TFrmM301B00::selection() const {
    Selection s;
    s.yearFrom = cboYearF->currentText();
    s.yearTo = cboYearT->currentText();
    s.byName = rbName->isChecked();
    s.hak = SHakEdit->text();
    s.ban = SBanEdit->text();
    s.bun = SBunEdit->text();
    s.name = sleName->text();
    for (int i = 0; i < 3; ++i)
        if (RdoShftClsfy[i]->isChecked()) s.state = i;
    s.gcode = cboGroup->currentText().left(2);
    for (int i = 0; i < CLbItem->count(); ++i)
        if (CLbItem->item(i)->checkState() == Qt::Checked) s.itemIds << CLbItem->item(i)->text().left(2);
    s.dateFrom = digitsOf(MEdtSetlDt);
    s.dateTo = digitsOf(MEdtSetlDt2);
    return s;
}

void TFrmM301B00::clearGrid() {
    rows_.clear();
    SGrdStudentShft->clearContents();
    SGrdStudentShft->setRowCount(1);
}

void TFrmM301B00::showRows() {
    SGrdStudentShft->clearContents();
    SGrdStudentShft->setRowCount(std::max<int>(1, int(rows_.size())));
    for (int r = 0; r < rows_.size(); ++r)
        for (int c = 0; c < ColCount; ++c) {
            // The round and the amounts come as printed ("%3.0n", "%12.0n "):
            // shown without their blanks.
            const QString v = rows_[r].value(c);
            const bool figure = c == ColSeqNo || c == ColAmt || c == ColReAmt;
            SGrdStudentShft->setItem(r, c, figure ? GridFit::figureItem(v) : new QTableWidgetItem(v));
        }
    GridFit::widenToRows(SGrdStudentShft, rows_, {ColSeqNo, ColAmt, ColReAmt});
}

void TFrmM301B00::bbtnSearchClick() {
    const Selection s = selection();
    if (const auto refusal = check(s)) {
        Msg::show(refusal->caption, refusal->text, refusal->error ? MsgIcon::Error : MsgIcon::None,
                  MsgButtons::Ok, this);
        if (refusal->focusName)
            sleName->setFocus();
        else
            SHakEdit->setFocus();
        return;
    }
    if (broad(s) && !Msg::askYesNo(windowTitle(), kBroadQuestion, this)) return;
    clearGrid();

    // Busy state, undone however the search ends.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    pnProgress->raise();
    pnProgress->show();
    bbtnSearch->setEnabled(false);
    bbtnClose->setEnabled(false);
    Result r;
    QString err;
    const bool ok = search(s, &r, &err, [this](int i, int n) {
        txtProgress->setText(QString::number(i) + QStringLiteral("/") + QString::number(n) +
                             QStringLiteral("번째 건을 처리중입니다."));
        pbInit->setRange(0, n);
        pbInit->setValue(i);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    QApplication::restoreOverrideCursor();
    pnProgress->hide();
    bbtnSearch->setEnabled(true);
    bbtnClose->setEnabled(true);
    if (!ok) {
        bbtnPrint->setEnabled(false);
        Msg::error(QStringLiteral("오류"), err, this);
        return;
    }
    rows_ = r.rows;
    if (!s.byName) snoCondition_ = r.snoCondition;
    bbtnPrint->setEnabled(!rows_.isEmpty());
    showRows();
    if (rows_.isEmpty()) {
        Msg::show(QStringLiteral("학생별이체자료"), QStringLiteral("해당되는 자료가 없습니다."),
                  MsgIcon::Information, MsgButtons::Ok, this);
        return;
    }
    const QList<qint64> v = r.totals.values();
    for (int i = 0; i < 14; ++i)
        panels[i]->setText(panelText(v[i]));
}

void TFrmM301B00::bbtnPrintClick() {
    if (rows_.isEmpty()) {
        Msg::show(Rounds::programTitle(), QStringLiteral("인쇄할 내용이 없습니다."), MsgIcon::None,
                  MsgButtons::Ok, this);
        return;
    }
    QStringList texts;
    for (QLabel* p : panels)
        texts << p->text();
    print(rows_, texts, conditionText(selection(), snoCondition_)).preview(this);
}

void TFrmM301B00::BBtnExcelClick() {
    if (rows_.isEmpty()) {
        Msg::error(QStringLiteral("엑셀저장실패"), QStringLiteral("조회된 자료가 없습니다!"), this);
        return;
    }
    FileDialogSpec spec;
    spec.mode = FileDialogSpec::Mode::Save;
    spec.title = QStringLiteral("엑셀화일로 생성");
    spec.defaultSuffix = QStringLiteral("xlsx");
    spec.filter = QStringLiteral("엑셀화일|*.xlsx|모든화일|*.*");
    spec.fileName = QStringLiteral("학생별이체현황.xlsx");
    spec.folder = DMLib ? DMLib->FDataDir : QString();
    const auto file = FileDialog::pick(spec, this);
    if (!file) return;
    QString err;
    if (!exportTo(rows_, *file, &err)) {
        Msg::error(QStringLiteral("엑셀저장실패"), err, this);
        return;
    }
    Msg::info(QStringLiteral("화일생성"), QStringLiteral("엑셀화일을 생성하였습니다!"), this);
}
