#include "transfers/collection/M401B00.h"

#include "platform/sys/Clock.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "transfers/collection/M401B01.h"
#include "transfers/collection/MealItems.h"
#include "transfers/common/Rounds.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kMark = QStringLiteral(" ◎");

QTableWidgetItem* cell(const QString& text) {
    auto* i = new QTableWidgetItem(text);
    i->setFlags(i->flags() & ~Qt::ItemIsEditable);
    return i;
}

} // namespace

TFrmM401B00::TFrmM401B00(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("급식인증 자료 수동 전송"));

    auto* range = new QGroupBox(QStringLiteral("작성년월 구간 설정"), this);
    const QString now = Clock::today().toString(QStringLiteral("yyyy-MM"));
    mskFYear = new QLineEdit(range);
    mskTYear = new QLineEdit(range);
    for (QLineEdit* e : {mskFYear, mskTYear}) {
        e->setInputMask(QStringLiteral("0000\\-00"));
        e->setText(now);
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000-00")) + 20);
        e->installEventFilter(this);
    }
    cmdSearch = new QPushButton(QStringLiteral("조회"), range);
    auto* rl = new QHBoxLayout(range);
    rl->addWidget(mskFYear);
    rl->addWidget(new QLabel(QStringLiteral("~"), range));
    rl->addWidget(mskTYear);
    rl->addWidget(cmdSearch);
    rl->addStretch();

    auto* list = new QGroupBox(QStringLiteral("이체자료 리스트"), this);
    vGrid = new QTableWidget(0, ColCount, list);
    vGrid->setHorizontalHeaderLabels({QStringLiteral("작성년월"), QStringLiteral("회차"),
                                      QStringLiteral("작성년월"), QStringLiteral("회차설명"),
                                      QStringLiteral("선택"), QStringLiteral("테이블명")});
    const int widths[] = {0, 60, 70, 157, 50, 0};
    for (int c = 0; c < ColCount; ++c)
        vGrid->setColumnWidth(c, widths[c]);
    vGrid->setColumnHidden(ColKey, true);
    vGrid->setColumnHidden(ColTable, true);
    vGrid->verticalHeader()->hide();
    vGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    vGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    vGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vGrid->setMinimumSize(360, 220);
    auto* ll = new QVBoxLayout(list);
    ll->addWidget(new QLabel(QStringLiteral("아래 열람된 내역 중 송신하고자 하는 회차를 선택하시고"), list));
    ll->addWidget(new QLabel(QStringLiteral("전송시작 버튼을 누르시면 전송이 가능합니다."), list));
    ll->addWidget(vGrid);

    chkAuto = new QCheckBox(QStringLiteral("자동이체분"), this);
    chkCash = new QCheckBox(QStringLiteral("현금수납분"), this);
    cmdSend = new QPushButton(QStringLiteral("급식인증파일생성"), this);
    cmdClose = new QPushButton(QStringLiteral("닫기"), this);
    auto* bl = new QHBoxLayout;
    bl->addWidget(chkAuto);
    bl->addWidget(chkCash);
    bl->addStretch();
    bl->addWidget(cmdSend);
    bl->addWidget(cmdClose);

    pnProgress = new QWidget(this);
    pbInit = new QProgressBar(pnProgress);
    auto* pl = new QHBoxLayout(pnProgress);
    pl->setContentsMargins(0, 0, 0, 0);
    pl->addWidget(new QLabel(QStringLiteral("처리중입니다.."), pnProgress));
    pl->addWidget(pbInit);
    pnProgress->hide();

    auto* v = new QVBoxLayout(this);
    v->addWidget(range);
    v->addWidget(list, 1);
    v->addWidget(pnProgress);
    v->addLayout(bl);

    chkAuto->setChecked(true);
    chkCash->setChecked(true);
    pEnableCreate(false);

    connect(cmdSearch, &QPushButton::clicked, this, &TFrmM401B00::cmdSearchClick);
    connect(cmdSend, &QPushButton::clicked, this, &TFrmM401B00::cmdSendClick);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(vGrid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { vGridDblClick(row); });
    // Any key in the start empties the end, so a changed start is never
    // searched against an old end.
    connect(mskFYear, &QLineEdit::textEdited, mskTYear, [this] { mskTYear->clear(); });

    const MealItems::Settings s = MealItems::read();
    use_ = s.use;
    folder_ = s.folder;
}

void TFrmM401B00::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (painted_) return;
    painted_ = true;
    if (!use_) QTimer::singleShot(0, this, &TFrmM401B00::FormPaint);
}

void TFrmM401B00::FormPaint() {
    if (use_) return;
    Rounds::plainBox(QStringLiteral("급식인증 환경설정이 자동으로 설정 되어있지 않습니다."));
    reject();
}

bool TFrmM401B00::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (o == mskFYear)
                mskTYear->setFocus();
            else if (o == mskTYear)
                cmdSearch->setFocus();
            else
                return QDialog::eventFilter(o, e);
            return true; // Enter moves on; it does not press the default button
        }
    }
    return QDialog::eventFilter(o, e);
}

void TFrmM401B00::pEnableCreate(bool on) {
    for (QWidget* w :
         {static_cast<QWidget*>(cmdSend), static_cast<QWidget*>(chkAuto), static_cast<QWidget*>(chkCash)})
        w->setEnabled(on);
}

MealExport::Kinds TFrmM401B00::kinds() const {
    MealExport::Kinds k;
    k.autoPaid = chkAuto->isChecked();
    k.cash = chkCash->isChecked();
    return k;
}

QStringList TFrmM401B00::marked() const {
    QStringList out;
    for (int r = 0; r < vGrid->rowCount(); ++r) {
        const QTableWidgetItem* m = vGrid->item(r, ColMark);
        const QTableWidgetItem* t = vGrid->item(r, ColTable);
        if (m && t && m->text() == kMark) out << t->text();
    }
    return out;
}

void TFrmM401B00::cmdSearchClick() {
    const std::optional<QStringList> rounds = MealExport::roundsInRange(mskFYear->text(), mskTYear->text());
    if (!rounds) {
        Msg::error(QStringLiteral("작성년월 입력오류"),
                   QStringLiteral("작성년월 조건이 잘못 입력되었습니다. 확인하십시오."), this);
        return;
    }
    if (Rounds::collectionTables().isEmpty()) {
        Rounds::plainBox(QStringLiteral("해당하는 자료가 없습니다."));
        return;
    }
    vGrid->setRowCount(0);
    for (const QString& t : *rounds) {
        const QString ym = Rounds::yearMonOf(t), ss = Rounds::seqNoOf(t);
        const QString shown = ym.left(4) + QLatin1Char('-') + ym.mid(4);
        const int r = vGrid->rowCount();
        vGrid->insertRow(r);
        vGrid->setItem(r, ColKey, cell(shown));
        vGrid->setItem(r, ColSeqNo, cell(ss));
        vGrid->setItem(r, ColYearMon, cell(shown));
        vGrid->setItem(r, ColTitle, cell(Rounds::title(ym, ss)));
        vGrid->setItem(r, ColMark, cell(QString()));
        vGrid->setItem(r, ColTable, cell(t));
    }
    pEnableCreate(false);
}

void TFrmM401B00::vGridDblClick(int row) {
    QTableWidgetItem* m = vGrid->item(row, ColMark);
    if (!m) {
        pEnableCreate(false);
        return;
    }
    m->setText(m->text() == kMark ? QString() : kMark);
    pEnableCreate(!marked().isEmpty());
}

TFrmM401B00::Run TFrmM401B00::createWorkbooks(const QStringList& tables, const MealExport::Kinds& k,
                                              const QString& folder, QWidget* parent,
                                              const std::function<void(int, const QString&)>& step) {
    Run run;
    if (!k.autoPaid && !k.cash) {
        Rounds::plainBox(QStringLiteral("이체구분(자동이체,현금수납)을 선택하세요."));
        return run;
    }
    if (tables.isEmpty()) {
        Rounds::plainBox(QStringLiteral("전송할 자료를 선택하세요."));
        return run;
    }
    if (MealItems::chosen().isEmpty()) {
        Rounds::plainBox(QStringLiteral("급식인증 항목이 설정되어 있지 않습니다."));
        return run;
    }
    qint64 total = 0;
    for (const QString& t : tables) {
        qint64 a = 0;
        run.count += MealExport::countRows(t, k, &a);
        run.amount += a;
        total += MealExport::countPaid(t, k);
    }
    if (run.count <= 0) {
        Rounds::plainBox(total > 0 ? QStringLiteral("급식인증 대상항목이 존재하지 않습니다.")
                                   : QStringLiteral("급식인증 대상자료가 존재하지 않습니다."));
        return run;
    }
    {
        TFrmM401B01 confirm(parent);
        confirm.txtV->setText(TFrmM401B01::countText(run.count));
        confirm.txtW->setText(TFrmM401B01::amountText(run.amount));
        if (Modal::exec(&confirm) != 1) return run;
    }
    if (folder.trimmed().isEmpty() || !QDir().mkpath(folder.trimmed())) {
        Rounds::plainBox(QStringLiteral("파일경로를 찾을수 없습니다."));
        return run;
    }
    for (int i = 0; i < tables.size(); ++i) {
        if (step) step(i, tables.at(i));
        Written w{tables.at(i), QString(), 0};
        QString error;
        // Workbooks written before a failure stay; the run stops at it.
        w.rows = MealExport::writeRound(tables.at(i), k, folder, &w.file, &error);
        if (w.rows < 0) {
            if (step) step(int(tables.size()), QString());
            Msg::error(QStringLiteral("화일생성"), error, parent);
            return run;
        }
        run.written << w;
    }
    if (step) step(int(tables.size()), QString());
    Msg::info(QStringLiteral("화일생성"), QStringLiteral("급식인증자료를 생성하였습니다!"), parent);
    run.created = true;
    return run;
}

void TFrmM401B00::cmdSendClick() {
    const QStringList tables = marked();
    pEnableCreate(false);
    pbInit->setRange(0, int(tables.size()));
    pbInit->setValue(0);
    createWorkbooks(tables, kinds(), folder_, this, [this](int i, const QString& table) {
        pbInit->setValue(i);
        if (table.isEmpty()) {
            pnProgress->hide();
            return;
        }
        pnProgress->show();
        for (int r = 0; r < vGrid->rowCount(); ++r)
            if (vGrid->item(r, ColTable) && vGrid->item(r, ColTable)->text() == table) vGrid->selectRow(r);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    // Every end of a run gives the controls back; with nothing marked there
    // is nothing to create.
    pEnableCreate(!tables.isEmpty());
}

namespace {
const FormRegistrar reg(FormEntry{QStringLiteral("M401B00"), QStringLiteral("급식인증 자료 수동 전송"),
                                  FormEntry::Mode::Dialog,
                                  [](QWidget* parent) -> QWidget* { return new TFrmM401B00(parent); }});
} // namespace
