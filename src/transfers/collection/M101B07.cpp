#include "transfers/collection/M101B07.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/Msg.h"
#include "transfers/common/KeyEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
const QString kBadSNo = QStringLiteral("학번 입력 정보가 올바르지 않습니다.");
}

TFrmM101B07::TFrmM101B07(const QString& gcode, QWidget* parent) : QDialog(parent), gcode_(gcode) {
    setWindowTitle(QStringLiteral("학생추가"));
    auto* lay = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    MedtYearMon = new QLineEdit(this);
    MedtYearMon->setInputMask(QStringLiteral("9999-99; "));
    MedtYearMon->setFocusPolicy(Qt::ClickFocus);
    MedtYearMon->setReadOnly(true);
    EdtSeqNo = new QLineEdit(this);
    EdtSeqNo->setMaxLength(2);
    EdtSeqNo->setFocusPolicy(Qt::ClickFocus);
    EdtSeqNo->setReadOnly(true);
    top->addWidget(new QLabel(QStringLiteral("이체년월"), this), 0, 0);
    top->addWidget(MedtYearMon, 0, 1);
    top->addWidget(new QLabel(QStringLiteral("회  차"), this), 0, 2);
    top->addWidget(EdtSeqNo, 0, 3);
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    SHakEdit = new TKeyEdit(this);
    SBanEdit = new TKeyEdit(this);
    SBunEdit = new TKeyEdit(this);
    SHakEdit->setMaxLength(1);
    SBanEdit->setMaxLength(2);
    SBunEdit->setMaxLength(SNoLen - 3);
    auto* sno = new QHBoxLayout;
    for (TKeyEdit* e : {SHakEdit, SBanEdit, SBunEdit}) {
        e->setValidator(digits);
        sno->addWidget(e);
        connect(e, &QLineEdit::textChanged, this, [this] {
            edtStudtNm->clear();
            student_.reset();
        });
    }
    top->addWidget(new QLabel(QStringLiteral("학  번"), this), 1, 0);
    top->addLayout(sno, 1, 1);
    edtStudtNm = new QLineEdit(this);
    edtStudtNm->setReadOnly(true);
    edtStudtNm->setFocusPolicy(Qt::NoFocus);
    // A whole name of the column's width: ten Hangul syllables.
    edtStudtNm->setMinimumWidth(edtStudtNm->fontMetrics().horizontalAdvance(QString(10, QChar(0xD7A3))) +
                                edtStudtNm->fontMetrics().averageCharWidth() * 2 + 8);
    top->addWidget(new QLabel(QStringLiteral("성  명"), this), 1, 2);
    top->addWidget(edtStudtNm, 1, 3);
    top->addWidget(
        new QLabel(QStringLiteral("학번 입력 후\n엔터키를 누르\n셔야 성명 확인\n이 가능합니다"), this), 0, 4,
        2, 1);
    lay->addLayout(top);

    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("항   목"), this));
    LbItem = new QListWidget(this);
    LbItem->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LbItem->setSortingEnabled(true);
    left->addWidget(LbItem);
    lists->addLayout(left);
    auto* mid = new QVBoxLayout;
    mid->addStretch();
    spdAllAddItem = new QPushButton(QStringLiteral("->>"), this);
    spdAddItem = new QPushButton(QStringLiteral("->"), this);
    spdDelItem = new QPushButton(QStringLiteral("<-"), this);
    spdAllDelItem = new QPushButton(QStringLiteral("<<-"), this);
    for (QPushButton* b : {spdAllAddItem, spdAddItem, spdDelItem, spdAllDelItem}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        mid->addWidget(b);
    }
    mid->addStretch();
    lists->addLayout(mid);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("이 체 항 목"), this));
    LbItemAdd = new QListWidget(this);
    LbItemAdd->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LbItemAdd->setSortingEnabled(true);
    right->addWidget(LbItemAdd);
    lists->addLayout(right);
    lay->addLayout(lists);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    bbtnSave = new QPushButton(QStringLiteral("저장"), this);
    bbtnDone = new QPushButton(QStringLiteral("닫기"), this);
    for (QPushButton* b : {bbtnSave, bbtnDone}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    lay->addLayout(buttons);

    connect(spdAllAddItem, &QPushButton::clicked, this, [this] { moveItems(LbItem, LbItemAdd, true); });
    connect(spdAddItem, &QPushButton::clicked, this, [this] { moveItems(LbItem, LbItemAdd, false); });
    connect(spdDelItem, &QPushButton::clicked, this, [this] { moveItems(LbItemAdd, LbItem, false); });
    connect(spdAllDelItem, &QPushButton::clicked, this, [this] { moveItems(LbItemAdd, LbItem, true); });
    connect(bbtnSave, &QPushButton::clicked, this, &TFrmM101B07::bbtnSaveClick);
    connect(bbtnDone, &QPushButton::clicked, this, &QDialog::reject);

    // Enter moves on and finally finds the student; typing and Backspace
    // move between the three parts.
    SHakEdit->onKey = [this](QKeyEvent* e, const QString&) {
        if (!isEnterKey(e)) return false;
        SBanEdit->setFocus();
        return true;
    };
    SHakEdit->afterKey = [this](QKeyEvent* e, const QString&) {
        if (isCharKey(e) && SBanEdit->text().isEmpty()) autoMove(SBanEdit);
    };
    SBanEdit->onKey = [this](QKeyEvent* e, const QString& before) {
        if (isEnterKey(e)) {
            SBunEdit->setFocus();
            return true;
        }
        if (e->key() == Qt::Key_Backspace && before.isEmpty()) {
            SHakEdit->setFocus();
            return true;
        }
        return false;
    };
    SBanEdit->afterKey = [this](QKeyEvent* e, const QString& before) {
        if (isCharKey(e) && before.size() == 1) autoMove(SBunEdit);
    };
    SBunEdit->onKey = [this](QKeyEvent* e, const QString& before) {
        if (isEnterKey(e)) {
            pFindStudent();
            return true;
        }
        if (e->key() == Qt::Key_Backspace && before.isEmpty()) {
            SBanEdit->setFocus();
            return true;
        }
        return false;
    };

    for (TKeyEdit* e : {SHakEdit, SBanEdit, SBunEdit})
        e->installEventFilter(this);

    DMData->FillItemListBox(LbItem, QString());
    resize(qMax(460, sizeHint().width()), 380);
}

void TFrmM101B07::autoMove(QWidget* to) {
    to->setFocus();
    autoMovedTo_ = to;
}

bool TFrmM101B07::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(event);
        const bool swallow =
            watched == autoMovedTo_ && k->key() == Qt::Key_Tab && !(k->modifiers() & ~Qt::KeypadModifier);
        autoMovedTo_ = nullptr;
        if (swallow) return true;
    } else if (event->type() == QEvent::FocusOut && watched == autoMovedTo_) {
        autoMovedTo_ = nullptr;
    }
    return QDialog::eventFilter(watched, event);
}

QString TFrmM101B07::yearMon() const {
    return TDMLib::DigitsOnly(MedtYearMon->text());
}

QString TFrmM101B07::seqNo() const {
    return EdtSeqNo->text().trimmed();
}

void TFrmM101B07::moveItems(QListWidget* from, QListWidget* to, bool all) {
    for (int i = from->count() - 1; i >= 0; --i) {
        QListWidgetItem* it = from->item(i);
        if (!all && !it->isSelected()) continue;
        to->addItem(from->takeItem(i)->text());
        delete it;
    }
}

void TFrmM101B07::pFindStudent() {
    if (!IsValidSNoInput(SHakEdit->text(), SBanEdit->text(), SBunEdit->text())) {
        Msg::error(QStringLiteral("학번입력 오류"), kBadSNo, this);
        SHakEdit->setFocus();
        return;
    }
    const QString sno = MakeSNo(SHakEdit->text(), SBanEdit->text(), SBunEdit->text());
    const auto s = StudentAdd::findStudent(sno);
    if (!s) {
        Msg::error(QStringLiteral("입력오류"),
                   QStringLiteral("존재하지 않는 학번이거나 전출생입니다.\r확인 후 다시 입력하세요!!"), this);
        SHakEdit->setFocus();
        return;
    }
    edtStudtNm->setText(s->nm);
    student_ = s;
    LbItemAdd->clear();
    LbItem->clear();
    DMData->FillItemListBox(LbItem, QString());
    for (const QString& id : StudentAdd::itemsInRound(yearMon(), seqNo(), sno))
        for (int i = 0; i < LbItem->count(); ++i)
            if (LbItem->item(i)->text().startsWith(id)) {
                LbItemAdd->addItem(LbItem->item(i)->text());
                delete LbItem->takeItem(i);
                break;
            }
    LbItem->setFocus();
}

void TFrmM101B07::bbtnSaveClick() {
    if (edtStudtNm->text().trimmed().isEmpty() || !student_) {
        Msg::error(
            QStringLiteral("입력오류"),
            QStringLiteral("학생 성명이 없습니다.\r\r학번입력후 엔터를 입력하시면      \r학생성명 확인이 "
                           "가능합니다.\r\r확인 후 다시 입력하세요!!"),
            this);
        return;
    }
    StudentAdd::Request r;
    r.yearMon = yearMon();
    r.seqNo = seqNo();
    r.sno = MakeSNo(SHakEdit->text(), SBanEdit->text(), SBunEdit->text());
    r.nm = edtStudtNm->text();
    r.student = *student_;
    r.gcode = gcode_;
    for (int i = 0; i < LbItemAdd->count(); ++i)
        r.entries << LbItemAdd->item(i)->text();
    const StudentAdd::Outcome o = StudentAdd::save(r);
    if (!o.ok) {
        Msg::error(QStringLiteral("오류"), o.error, this);
        return;
    }
    Msg::show(QStringLiteral("저장완료"), QStringLiteral("저장되었습니다!!"), MsgIcon::None, MsgButtons::Ok,
              this);
}
