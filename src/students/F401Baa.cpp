#include "students/F401Baa.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/GridFit.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "platform/ui/TextViewer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const FormRegistrar g_reg(FormEntry{QStringLiteral("F401Baa"), QStringLiteral("학반번호 일괄변경"),
                                    FormEntry::Mode::Dialog,
                                    [](QWidget* parent) -> QWidget* { return new TFrmF401Baa(parent); }});

const QString kCaption = QString::fromUtf16(NewTerm::kCaption);

QLineEdit* edit(QWidget* owner, int len) {
    auto* e = new QLineEdit(owner);
    e->setMaxLength(len);
    e->setFixedWidth(12 + 10 * len);
    return e;
}

void setUpGrid(QTableWidget* g, const QStringList& headers) {
    g->setColumnCount(11);
    g->setHorizontalHeaderLabels(headers);
    const int widths[11] = {0, 0, 50, 50, 50, 50, 60, 50, 50, 50, 0};
    for (int c = 0; c < 11; ++c) {
        g->setColumnWidth(c, widths[c]);
        g->setColumnHidden(c, widths[c] == 0);
    }
    // Student numbers show whole at their full length, titles always.
    const QString sno(SNoLen, QLatin1Char('0'));
    for (int c = 0; c < 11; ++c)
        if (!g->isColumnHidden(c))
            GridFit::widen(g, c, headers.at(c).endsWith(QStringLiteral("학번")) ? sno : QString());
    g->verticalHeader()->hide();
    g->setRowCount(20);
}

QString cell(const QTableWidget* g, int r, int c) {
    const QTableWidgetItem* it = g->item(r, c);
    return it ? it->text() : QString();
}

void put(QTableWidget* g, int r, int c, const QString& t, bool editable) {
    auto* it = new QTableWidgetItem(t);
    if (!editable) it->setFlags(it->flags() & ~Qt::ItemIsEditable);
    g->setItem(r, c, it);
}

// Enter in a cell editor commits the cell and walks on to the next column
// (the form's own walk) instead of only closing the editor. It is taken
// here, before the delegate's own handling, which would commit the cell once
// more after the editor is gone.
class EnterDelegate : public QStyledItemDelegate {
public:
    EnterDelegate(TFrmF401Baa* form, QObject* parent) : QStyledItemDelegate(parent), form_(form) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && !form_->preview) {
            const int k = static_cast<QKeyEvent*>(e)->key();
            auto* editor = qobject_cast<QWidget*>(o);
            if (editor && (k == Qt::Key_Return || k == Qt::Key_Enter)) {
                form_->vGridEnter(editor);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(o, e);
    }

private:
    TFrmF401Baa* form_;
};

} // namespace

TFrmF401Baa::TFrmF401Baa(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmF401Baa"));
    setWindowTitle(kCaption);
    const int numLen = SNoLen - 3;
    sleN1 = edit(this, 1);
    sleN2 = edit(this, 2);
    sleN3 = edit(this, numLen);
    sleM1 = edit(this, 1);
    sleM2 = edit(this, 2);
    sleM3 = edit(this, numLen);
    const auto button = [this](const char16_t* t) { return new QPushButton(QString::fromUtf16(t), this); };
    cmdSearch = button(u"조회");
    cmdSave = button(u"저장");
    cmdAll = button(u"기존반,번호적용");
    cmdGrade = button(u"학년일괄변경");
    cmdBanGrade = button(u"반일괄변경");
    cmdInit = button(u"초기화");
    cmdChkSNO = button(u"오류검사");
    cmdView = button(u"변경내용보기");
    cmdApply = button(u"변경최종확정");
    cmdClose = button(u"닫 기");
    lblRange = new QLabel(QStringLiteral("구학번범위"), this);
    lblRange->setBuddy(sleN1);
    lblTo = new QLabel(QStringLiteral("~"), this);
    lblTo->setBuddy(sleM1);
    auto* range = new QHBoxLayout;
    range->addWidget(lblRange);
    for (QLineEdit* e : {sleN1, sleN2, sleN3}) range->addWidget(e);
    range->addWidget(lblTo);
    for (QLineEdit* e : {sleM1, sleM2, sleM3}) range->addWidget(e);
    range->addStretch();
    auto* buttons = new QGridLayout;
    const QList<QPushButton*> all{cmdSearch, cmdSave, cmdAll,  cmdGrade, cmdBanGrade,
                                  cmdInit,   cmdChkSNO, cmdView, cmdApply, cmdClose};
    for (int i = 0; i < all.size(); ++i) buttons->addWidget(all.at(i), i / 5, i % 5);
    const QStringList headers{QStringLiteral("일련번호"), QStringLiteral("학생고유번호"), QStringLiteral("구학번"),
                              QStringLiteral("구학년"),   QStringLiteral("구반"),         QStringLiteral("구번호"),
                              QStringLiteral("이름"),     QStringLiteral("신학년"),       QStringLiteral("신반"),
                              QStringLiteral("신번호"),   QStringLiteral("플래그")};
    vGrid = new QTableWidget(this);
    vGrid->setObjectName(QStringLiteral("vGrid"));
    setUpGrid(vGrid, headers);
    wGrid = new QTableWidget(this);
    wGrid->setObjectName(QStringLiteral("wGrid"));
    setUpGrid(wGrid, {QString(), QString(), QStringLiteral("신학번"), QStringLiteral("신학년"), QStringLiteral("신반"),
                      QStringLiteral("신번호"), QStringLiteral("이름"), QStringLiteral("구학년"), QStringLiteral("구반"),
                      QStringLiteral("구번호"), QStringLiteral("구학번")});
    wGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    wGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    wGrid->hide();
    txtProgress = new QLabel(this);
    auto* main = new QVBoxLayout(this);
    main->addLayout(range);
    main->addLayout(buttons);
    main->addWidget(vGrid, 1);
    main->addWidget(wGrid, 1);
    main->addWidget(txtProgress);
    resize(640, 600);

    connect(cmdSearch, &QPushButton::clicked, this, &TFrmF401Baa::cmdSearchClick);
    connect(cmdSave, &QPushButton::clicked, this, &TFrmF401Baa::cmdSaveClick);
    connect(cmdAll, &QPushButton::clicked, this, &TFrmF401Baa::cmdAllClick);
    connect(cmdGrade, &QPushButton::clicked, this, &TFrmF401Baa::cmdGradeClick);
    connect(cmdBanGrade, &QPushButton::clicked, this, &TFrmF401Baa::cmdBanGradeClick);
    connect(cmdInit, &QPushButton::clicked, this, &TFrmF401Baa::cmdInitClick);
    connect(cmdChkSNO, &QPushButton::clicked, this, &TFrmF401Baa::cmdChkSNOClick);
    connect(cmdView, &QPushButton::clicked, this, &TFrmF401Baa::cmdViewClick);
    connect(cmdApply, &QPushButton::clicked, this, &TFrmF401Baa::cmdApplyClick);
    connect(cmdClose, &QPushButton::clicked, this, &TFrmF401Baa::cmdCloseClick);
    connect(vGrid, &QTableWidget::cellChanged, this, &TFrmF401Baa::cellEdited);
    vGrid->setItemDelegate(new EnterDelegate(this, vGrid));
    vGrid->installEventFilter(this);

    // The menu's preparation: the work table topped up from the roster.
    const NewTerm::FillResult f = NewTerm::FillVTemp();
    if (!f.ok)
        Msg::error(QStringLiteral("오류"), QStringLiteral("신학기 반편성자료를 구성하지 못했습니다.\r") + f.error, this);
    else if (f.students == 0)
        Msg::show(QCoreApplication::applicationName(), QStringLiteral("학생명부 DB에 학생자료가 존재하지 않습니다."),
                  MsgIcon::None, MsgButtons::Ok, this);
    enableEdits(false);
    cmdSearchClick();
}

void TFrmF401Baa::enableEdits(bool on) {
    for (QPushButton* b : {cmdAll, cmdGrade, cmdApply, cmdBanGrade}) b->setEnabled(on);
}

void TFrmF401Baa::fillGrid(const QList<NewTermRow>& rows) {
    filling_ = true;
    vGrid->clearContents();
    vGrid->setRowCount(qMax(20, int(rows.size())));
    for (int i = 0; i < rows.size(); ++i) {
        const NewTermRow& r = rows.at(i);
        const QStringList cells{QString::number(r.idx), r.custNo, r.sNo, r.sCd, r.ban, r.bun, r.nm,
                                r.newGrade, r.newBan, r.newBun, QString()};
        for (int c = 0; c < 11; ++c) put(vGrid, i, c, cells.at(c), c >= 7 && c <= 9);
    }
    GridFit::widenToContents(vGrid);
    filling_ = false;
}

QList<NewTermRow> TFrmF401Baa::gridRows() const {
    QList<NewTermRow> out = rows_;
    for (int i = 0; i < out.size(); ++i) {
        out[i].newGrade = cell(vGrid, i, 7);
        out[i].newBan = cell(vGrid, i, 8);
        out[i].newBun = cell(vGrid, i, 9);
    }
    return out;
}

void TFrmF401Baa::cmdSearchClick() {
    if (preview) {
        TFrmF401Baf d(wGrid, this);
        Modal::exec(&d);
        return;
    }
    if (!IsValidSNoInput(sleN1->text(), sleN2->text(), sleN3->text()) ||
        !IsValidSNoInput(sleM1->text(), sleM2->text(), sleM3->text())) {
        Msg::error(QStringLiteral("학번입력 오류"), QStringLiteral("학번 입력 정보가 올바르지 않습니다."), this);
        return;
    }
    const QString from = MakeSNo(sleN1->text(), sleN2->text(), sleN3->text());
    const QString to = MakeSNo(sleM1->text(), sleM2->text(), sleM3->text());
    if (!IsValidSNoRange(from, to)) {
        Msg::error(QStringLiteral("학번범위 설정 오류"), QStringLiteral("학번범위 설정이 올바르지 않습니다."), this);
        return;
    }
    from_ = from;
    to_ = to;
    rows_ = NewTerm::rows(from, to);
    fillGrid(rows_);
    if (!rows_.isEmpty()) enableEdits(true);
}

void TFrmF401Baa::cmdSaveClick() {
    txtProgress->setText(QStringLiteral("작업내용 저장중 입니다."));
    QString error;
    rows_ = gridRows();
    if (!NewTerm::save(rows_, &error))
        Msg::error(QStringLiteral("오류"), QStringLiteral("작업내용을 저장하지 못했습니다.\r") + error, this);
    modified = false;
    txtProgress->clear();
}

void TFrmF401Baa::cmdAllClick() {
    if (!Msg::askYesNo(kCaption, QStringLiteral("본 기능은 구 반, 번호를 신 반,번호로 자동으로 바꿔주는 기능입니다. "
                                                "\r\r계속 하시겠습니까? "),
                       this))
        return;
    rows_ = gridRows();
    NewTerm::keepOldClassAndNumber(rows_);
    fillGrid(rows_);
    modified = true;
}

void TFrmF401Baa::cmdGradeClick() {
    TFrmF401Bae d(this);
    if (Modal::exec(&d) != 1) return;
    rows_ = gridRows();
    NewTerm::setGrades(rows_, d.rbGrade1->isChecked());
    fillGrid(rows_);
    modified = true;
}

void TFrmF401Baa::cmdBanGradeClick() {
    TFrmF401Bab d(this);
    if (Modal::exec(&d) != QDialog::Accepted) return;
    rows_ = gridRows();
    NewTerm::setClass(rows_, d.ban);
    fillGrid(rows_);
    if (preview) cmdViewClick();
    modified = true;
}

void TFrmF401Baa::cmdInitClick() {
    if (!Msg::askYesNo(kCaption, QStringLiteral("신 반,번호를 초기화 하시겠습니까? "), this)) return;
    QString error;
    if (!NewTerm::reset(MakeSNo(sleN1->text(), sleN2->text(), sleN3->text()),
                        MakeSNo(sleM1->text(), sleM2->text(), sleM3->text()), &error)) {
        Msg::error(QStringLiteral("오류"), error, this);
        return;
    }
    modified = true;
    cmdSearchClick();
}

void TFrmF401Baa::cmdChkSNOClick() {
    rows_ = gridRows();
    txtProgress->setText(QStringLiteral("신학반번호 오류 검사 중"));
    const QStringList lines = NewTerm::check(rows_);
    fillGrid(rows_);
    txtProgress->clear();
    if (lines.isEmpty()) {
        Msg::show(kCaption, QStringLiteral("편성된 내용의 문제점을 발견하지 못했습니다."), MsgIcon::None, MsgButtons::Ok,
                  this);
        return;
    }
    QString path;
    if (!NewTerm::writeList(QStringLiteral("신학기반편성오류.txt"), lines, &path)) {
        Msg::error(QStringLiteral("오류"), path + QStringLiteral(" 파일을 쓸 수 없습니다."), this);
        return;
    }
    TextViewer::showFile(path, this);
}

void TFrmF401Baa::SetPreviewMode(bool on) {
    preview = on;
    setWindowTitle(on ? QStringLiteral("학반번호 일괄변경 미리보기") : kCaption);
    vGrid->setVisible(!on);
    wGrid->setVisible(on);
    cmdSearch->setText(on ? QStringLiteral("찾기") : QStringLiteral("조회"));
    const QList<QWidget*> editOnly{lblRange, sleN1, sleN2, sleN3, lblTo,   sleM1,    sleM2,
                                   sleM3,    cmdAll, cmdGrade, cmdInit, cmdApply, cmdView, cmdChkSNO};
    for (QWidget* w : editOnly)
        w->setVisible(!on);
}

void TFrmF401Baa::cmdViewClick() {
    if (cell(vGrid, 0, 1).isEmpty()) {
        Msg::show(kCaption, QStringLiteral("내용이 없습니다."), MsgIcon::None, MsgButtons::Ok, this);
        return;
    }
    const QList<NewTermRow> sorted = NewTerm::preview(gridRows());
    wGrid->clearContents();
    wGrid->setRowCount(qMax(20, int(sorted.size())));
    for (int i = 0; i < sorted.size(); ++i) {
        const NewTermRow& r = sorted.at(i);
        const QStringList cells{QString(), QString(), r.key(), r.newGrade, r.newBan, r.newBun,
                                r.nm,      r.sCd,     r.ban,   r.bun,    r.sNo};
        for (int c = 0; c < 11; ++c) put(wGrid, i, c, cells.at(c), false);
    }
    GridFit::widenToContents(wGrid);
    SetPreviewMode(true);
}

bool TFrmF401Baa::CheckDupNewSNo(const QString& key) {
    const QList<NewTermRow> rows = gridRows();
    const int d = NewTerm::duplicateOf(rows, key);
    if (d < 0) return true;
    Msg::show(kCaption, NewTerm::duplicateText(rows.at(d)), MsgIcon::None, MsgButtons::Ok, this);
    vGrid->setCurrentCell(d, 9);
    return false;
}

void TFrmF401Baa::cellEdited(int row, int col) {
    if (filling_ || col < 7 || col > 9 || row >= rows_.size()) return;
    modified = true;
    cellChecked_ = true;
    const QString t = cell(vGrid, row, col).trimmed();
    const int maxLen = col == 7 ? 1 : col == 8 ? 2 : SNoLen - 3;
    QString error;
    bool number = false;
    t.toInt(&number);
    if (t.size() > maxLen)
        error = col == 7   ? QStringLiteral("학년은 숫자 1자리만 입력하셔야 합니다")
                : col == 8 ? QStringLiteral("반은 숫자 2 자리로 입력하셔야 합니다")
                           : QStringLiteral("번호는 숫자 %1자리를 입력하셔야 합니다").arg(SNoLen - 3);
    else if (!t.isEmpty() && !number)
        error = QStringLiteral("숫자를 입력하십시오.");
    filling_ = true;
    if (!error.isEmpty())
        vGrid->item(row, col)->setText(QString());
    else if (!t.isEmpty() && col >= 8)
        vGrid->item(row, col)->setText(PadZero(t, maxLen, false));
    filling_ = false;
    if (!error.isEmpty()) {
        editFailed_ = true;
        afterEdit([this, error, row, col] {
            Msg::show(QCoreApplication::applicationName(), error, MsgIcon::None, MsgButtons::Ok, this);
            vGrid->setCurrentCell(row, col);
        });
        return;
    }
    const QString key = cell(vGrid, row, 7) + cell(vGrid, row, 8) + cell(vGrid, row, 9);
    if (NewTerm::duplicateOf(gridRows(), key) >= 0) {
        editFailed_ = true;
        afterEdit([this, key] { CheckDupNewSNo(key); });
    }
}

// A cell is committed while its editor is still being closed (Enter, an
// arrow key, the focus leaving it). A box opened there runs its own event
// loop under that closing, which then goes on with an editor the box's loop
// has already destroyed; so the box and the move of the cursor wait until
// the edit has ended.
void TFrmF401Baa::afterEdit(std::function<void()> f) {
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

bool TFrmF401Baa::eventFilter(QObject* o, QEvent* e) {
    if (o == vGrid && e->type() == QEvent::KeyPress && !preview) {
        const int k = static_cast<QKeyEvent*>(e)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            vGridEnter(nullptr);
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void TFrmF401Baa::vGridEnter(QWidget* editor) {
    const int row = vGrid->currentRow(), col = vGrid->currentColumn();
    editFailed_ = false;
    cellChecked_ = false;
    if (editor) {
        QAbstractItemDelegate* d = vGrid->itemDelegate();
        emit d->commitData(editor);
        emit d->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    if (row < 0 || row >= rows_.size() || col < 7 || col > 9 || editFailed_) return;
    // An unchanged cell was not checked by its commit.
    const QString key = cell(vGrid, row, 7) + cell(vGrid, row, 8) + cell(vGrid, row, 9);
    if (!cellChecked_ && NewTerm::duplicateOf(gridRows(), key) >= 0) {
        afterEdit([this, key] { CheckDupNewSNo(key); });
        return;
    }
    if (col < 9)
        vGrid->setCurrentCell(row, col + 1);
    else if (row + 1 < rows_.size())
        vGrid->setCurrentCell(row + 1, 7);
}

void TFrmF401Baa::cmdApplyClick() {
    const QList<NewTermRow> shown = gridRows();
    for (const NewTermRow& r : shown)
        if (!CheckDupNewSNo(r.key())) return;
    cmdSaveClick();
    if (!Msg::askYesNo(kCaption, QStringLiteral("변경사항을 최종확정 하시겠습니까?"), this)) return;
    TFrmF401Bac d(this);
    Modal::exec(&d);
    if (d.FinalConfirm != 1) return;
    const NewTerm::ApplyResult r = NewTerm::apply(d.options());
    using O = NewTerm::ApplyResult::Outcome;
    switch (r.outcome) {
    case O::Incomplete: {
        QString path;
        NewTerm::writeList(QStringLiteral("반편성오류.TXT"), r.lines, &path);
        Msg::show(kCaption,
                  QStringLiteral("최종확정을 할 시에는 전학년이 모두 편성작업이 되어 있어야 합니다.\r오류자료 리스트를 "
                                 "확인하십시오.(") + path,
                  MsgIcon::None, MsgButtons::Ok, this);
        return;
    }
    case O::Duplicate:
        Msg::error(kCaption, QStringLiteral("신학번이 같은 학생이 있습니다. 아무것도 변경하지 않았습니다."), this);
        TextViewer::showText(kCaption, r.lines.join(QLatin1Char('\n')), this);
        return;
    case O::Refused:
        Msg::error(kCaption,
                   QStringLiteral("학생명부에 쓸 수 없는 신학번이 있습니다. 아무것도 변경하지 않았습니다."),
                   this);
        TextViewer::showText(kCaption, r.lines.join(QLatin1Char('\n')), this);
        return;
    case O::Failed:
        Msg::error(QStringLiteral("오류"),
                   QStringLiteral("최종확정 중 오류가 발생하여 아무것도 변경하지 않았습니다.\r") + r.error, this);
        return;
    case O::Done:
        Msg::show(kCaption, QStringLiteral("신학기 반편성 최종확정 작업이 정상으로 완료되었습니다."), MsgIcon::None,
                  MsgButtons::Ok, this);
        modified = false;
        accept();
        return;
    }
}

void TFrmF401Baa::cmdCloseClick() {
    if (preview) {
        SetPreviewMode(false);
        return;
    }
    if (modified && Msg::askYesNo(kCaption, QStringLiteral("현재 작업내용을 저장 하시겠습니까? "), this)) cmdSaveClick();
    reject();
}

// ---- dialogs

TFrmF401Bae::TFrmF401Bae(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("학년일괄변경"));
    rbGrade0 = new QRadioButton(QStringLiteral("기존학년유지"), this);
    rbGrade1 = new QRadioButton(QStringLiteral("한학년진급"), this);
    rbGrade1->setChecked(true);
    auto* ok = new QPushButton(QStringLiteral("확 인"), this);
    auto* cancel = new QPushButton(QStringLiteral("취 소"), this);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(rbGrade0);
    lay->addWidget(rbGrade1);
    auto* b = new QHBoxLayout;
    b->addWidget(ok);
    b->addWidget(cancel);
    lay->addLayout(b);
    connect(ok, &QPushButton::clicked, this, [this] { done(1); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(2); });
}

TFrmF401Bab::TFrmF401Bab(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("새반 일괄 변경"));
    NewBanEdit = new QLineEdit(this);
    NewBanEdit->setMaxLength(2);
    auto* ok = new QPushButton(QStringLiteral("확 인"), this);
    auto* cancel = new QPushButton(QStringLiteral("취 소"), this);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(new QLabel(QStringLiteral("본 기능은 현재 열람되어 있는 학생들에 대하여 새반을 아래 입력한 반으로 일괄적으로"), this));
    lay->addWidget(new QLabel(QStringLiteral("변경해 줍니다(변경을 원하시는 학생들만 열람되어 있는지 필히 확인 하십시오."), this));
    auto* e = new QHBoxLayout;
    e->addWidget(new QLabel(QStringLiteral("변경될 새반"), this));
    e->addWidget(NewBanEdit);
    e->addStretch();
    lay->addLayout(e);
    auto* b = new QHBoxLayout;
    b->addWidget(ok);
    b->addWidget(cancel);
    lay->addLayout(b);
    connect(ok, &QPushButton::clicked, this, &TFrmF401Bab::OKBtnClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmF401Bab::OKBtnClick() {
    QString error;
    ban = NewTerm::classEntry(NewBanEdit->text(), &error);
    if (ban.isEmpty()) {
        Msg::error(QStringLiteral("새반 입력 오류"), error, this);
        NewBanEdit->setFocus();
        return;
    }
    accept();
}

TFrmF401Bac::TFrmF401Bac(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("변경최종확정"));
    chkOut = new QCheckBox(QStringLiteral("졸업생 삭제"), this);
    chkOut->setChecked(true);
    Out1CheckCombo = new QCheckBox(QStringLiteral("졸업생 1"), this);
    Out2CheckCombo = new QCheckBox(QStringLiteral("졸업생 2"), this);
    Out1Combo = new QComboBox(this);
    Out2Combo = new QComboBox(this);
    if (DMData) {
        DMData->FillGradeCodeCombo(Out1Combo);
        DMData->FillGradeCodeCombo(Out2Combo);
    }
    Out1Combo->setCurrentIndex(0);
    Out2Combo->setCurrentIndex(0);
    Out1Combo->setEnabled(false);
    Out2Combo->setEnabled(false);
    chkGo = new QCheckBox(QStringLiteral("전출생 삭제"), this);
    chkGo->setChecked(true);
    auto* ok = new QPushButton(QStringLiteral("확 인"), this);
    auto* cancel = new QPushButton(QStringLiteral("취 소"), this);
    auto* g = new QGridLayout(this);
    g->addWidget(chkOut, 0, 0, 1, 3);
    g->addWidget(Out1CheckCombo, 1, 0);
    g->addWidget(Out1Combo, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("학년"), this), 1, 2);
    g->addWidget(Out2CheckCombo, 2, 0);
    g->addWidget(Out2Combo, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("학년 (유치원과 같이 사용할 때)"), this), 2, 2);
    g->addWidget(chkGo, 3, 0, 1, 3);
    g->addWidget(ok, 4, 1);
    g->addWidget(cancel, 4, 2);
    connect(chkOut, &QCheckBox::toggled, this, [this](bool on) {
        Out1CheckCombo->setEnabled(on);
        Out2CheckCombo->setEnabled(on);
    });
    connect(Out1CheckCombo, &QCheckBox::toggled, Out1Combo, &QWidget::setEnabled);
    connect(Out2CheckCombo, &QCheckBox::toggled, Out2Combo, &QWidget::setEnabled);
    connect(ok, &QPushButton::clicked, this, [this] {
        FinalConfirm = 1;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        FinalConfirm = 0;
        reject();
    });
}

NewTerm::ApplyOptions TFrmF401Bac::options() const {
    NewTerm::ApplyOptions o;
    if (chkOut->isChecked() && Out1CheckCombo->isChecked()) o.graduate1 = Out1Combo->currentText().trimmed();
    if (chkOut->isChecked() && Out2CheckCombo->isChecked()) o.graduate2 = Out2Combo->currentText().trimmed();
    o.deleteTransferred = chkGo->isChecked();
    return o;
}

TFrmF401Baf::TFrmF401Baf(QTableWidget* grid, QWidget* parent) : QDialog(parent), grid_(grid) {
    setWindowTitle(QStringLiteral("찾기"));
    cboSType = new QComboBox(this);
    cboSType->addItems({QStringLiteral("신학번"), QStringLiteral("성명"), QStringLiteral("구학번")});
    mskSKey = new QLineEdit(this);
    rbSDown = new QRadioButton(QStringLiteral("아래로"), this);
    rbSUp = new QRadioButton(QStringLiteral("위로"), this);
    rbSDown->setChecked(true);
    auto* find = new QPushButton(QStringLiteral("찾기"), this);
    auto* close = new QPushButton(QStringLiteral("닫기"), this);
    auto* g = new QGridLayout(this);
    g->addWidget(cboSType, 0, 0);
    g->addWidget(mskSKey, 0, 1);
    g->addWidget(rbSDown, 1, 0);
    g->addWidget(rbSUp, 1, 1);
    g->addWidget(find, 2, 0);
    g->addWidget(close, 2, 1);
    // Numbers are typed bare: the mask's dashes are not part of a number.
    connect(cboSType, &QComboBox::currentIndexChanged, mskSKey, &QLineEdit::clear);
    connect(mskSKey, &QLineEdit::returnPressed, this, &TFrmF401Baf::cmsSearchClick);
    connect(find, &QPushButton::clicked, this, &TFrmF401Baf::cmsSearchClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmF401Baf::cmsSearchClick() {
    const int col = cboSType->currentIndex() == 0 ? 2 : cboSType->currentIndex() == 1 ? 6 : 10;
    QString key = mskSKey->text().trimmed();
    if (col != 6) key.remove(QLatin1Char('-'));
    const bool down = rbSDown->isChecked();
    for (;;) {
        for (int r = FindRow; down ? r < grid_->rowCount() : r >= 0; r += down ? 1 : -1)
            if (cell(grid_, r, col) == key && !key.isEmpty()) {
                grid_->selectRow(r);
                FindRow = r;
                accept();
                return;
            }
        if (Msg::show(QStringLiteral("찾기"), QStringLiteral("자료의 끝입니다!\r처음부터 다시 검색하시겠습니까?"),
                      MsgIcon::Information, MsgButtons::OkCancel, this) != MsgResult::Ok)
            return;
        FindRow = down ? 0 : grid_->rowCount() - 1;
    }
}
