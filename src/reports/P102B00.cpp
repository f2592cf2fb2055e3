#include "reports/P102B00.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"
#include "reports/Ledger.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P102B00"), QStringLiteral("수납부"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP102B00(parent); }});

QLineEdit* digitsEdit(QWidget* owner, const char* name, int len) {
    auto* e = new QLineEdit(owner);
    e->setObjectName(QString::fromLatin1(name));
    Cp949Validator::limit(e, len, true);
    e->setMaximumWidth(18 + 9 * len);
    return e;
}

QPushButton* mover(QWidget* owner, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), owner);
    b->setMaximumWidth(50);
    return b;
}

} // namespace

TFrmP102B00::TFrmP102B00(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("수납부"));
    auto* top = new QVBoxLayout(this);
    auto* head = new QGridLayout;
    cboYear = new QComboBox(this);
    const int year = Clock::today().year();
    for (int y = year; y > year - 4; --y)
        cboYear->addItem(QString::number(y));
    cboYear->setCurrentIndex(0);
    cboGroup = new QComboBox(this);
    head->addWidget(new QLabel(QStringLiteral("회계년"), this), 0, 0);
    head->addWidget(cboYear, 0, 1);
    head->addWidget(new QLabel(QStringLiteral("항목그룹"), this), 0, 2);
    head->addWidget(cboGroup, 0, 3);
    head->setColumnStretch(4, 1);
    top->addLayout(head);

    const auto pair = [this](const QString& left, const QString& right, QListWidget** l, QListWidget** r,
                             QPushButton** allAdd, QPushButton** add, QPushButton** del,
                             QPushButton** allDel) {
        auto* row = new QGridLayout;
        *l = new QListWidget(this);
        *r = new QListWidget(this);
        for (QListWidget* w : {*l, *r}) {
            w->setSelectionMode(QAbstractItemView::ExtendedSelection);
            w->setMinimumHeight(120);
        }
        row->addWidget(new QLabel(left, this), 0, 0);
        row->addWidget(new QLabel(right, this), 0, 2);
        row->addWidget(*l, 1, 0);
        auto* buttons = new QVBoxLayout;
        *allAdd = mover(this, "->>");
        *add = mover(this, "->");
        *del = mover(this, "<-");
        *allDel = mover(this, "<<-");
        for (QPushButton* b : {*allAdd, *add, *del, *allDel})
            buttons->addWidget(b);
        row->addLayout(buttons, 1, 1);
        row->addWidget(*r, 1, 2);
        return row;
    };
    auto* lists = new QHBoxLayout;
    lists->addLayout(pair(QStringLiteral("학년"), QStringLiteral("선택학년"), &LBStudtNo, &LBSelectStudtNo,
                          &SpdAllAddStudt, &SpdAddStudt, &SpdDelStudt, &SpdAllDelStudt));
    lists->addLayout(pair(QStringLiteral("항목"), QStringLiteral("선택항목"), &LBItemCd, &LBSelectItemCd,
                          &SpdAllAddItem, &SpdAddItem, &SpdDelItem, &SpdAllDelItem));
    top->addLayout(lists);

    auto* sno = new QHBoxLayout;
    SHakFromEdit = digitsEdit(this, "SHakFromEdit", 1);
    SBanFromEdit = digitsEdit(this, "SBanFromEdit", 2);
    SBunFromEdit = digitsEdit(this, "SBunFromEdit", SNoLen - 3);
    SHakToEdit = digitsEdit(this, "SHakToEdit", 1);
    SBanToEdit = digitsEdit(this, "SBanToEdit", 2);
    SBunToEdit = digitsEdit(this, "SBunToEdit", SNoLen - 3);
    sno->addWidget(new QLabel(QStringLiteral("학    번"), this));
    for (QLineEdit* e : {SHakFromEdit, SBanFromEdit, SBunFromEdit})
        sno->addWidget(e);
    sno->addWidget(new QLabel(QStringLiteral("~"), this));
    for (QLineEdit* e : {SHakToEdit, SBanToEdit, SBunToEdit})
        sno->addWidget(e);
    sno->addStretch();
    top->addLayout(sno);

    PnlDispWait = new QLabel(QStringLiteral("파일 작성중입니다. 잠시만 기다려주십시요!!"), this);
    PnlDispWait->setAlignment(Qt::AlignCenter);
    PnlDispWait->setFrameShape(QFrame::Panel);
    PnlDispWait->setVisible(false);
    top->addWidget(PnlDispWait);

    auto* foot = new QHBoxLayout;
    BtnCreate = new QPushButton(QStringLiteral("생성"), this);
    BtnPrint = new QPushButton(QStringLiteral("인쇄"), this);
    BtnClose = new QPushButton(QStringLiteral("닫기"), this);
    foot->addStretch();
    for (QPushButton* b : {BtnCreate, BtnPrint, BtnClose}) {
        b->setAutoDefault(false);
        foot->addWidget(b);
    }
    top->addLayout(foot);

    connect(cboGroup, &QComboBox::activated, this, [this](int) { cboGroupChange(); });
    connect(SpdAllAddStudt, &QPushButton::clicked, this, [this] { move(LBStudtNo, LBSelectStudtNo, true); });
    connect(SpdAddStudt, &QPushButton::clicked, this, [this] { move(LBStudtNo, LBSelectStudtNo, false); });
    connect(SpdDelStudt, &QPushButton::clicked, this, [this] { move(LBSelectStudtNo, LBStudtNo, false); });
    connect(SpdAllDelStudt, &QPushButton::clicked, this, [this] { move(LBSelectStudtNo, LBStudtNo, true); });
    connect(SpdAllAddItem, &QPushButton::clicked, this, [this] { move(LBItemCd, LBSelectItemCd, true); });
    connect(SpdAddItem, &QPushButton::clicked, this, [this] { move(LBItemCd, LBSelectItemCd, false); });
    connect(SpdDelItem, &QPushButton::clicked, this, [this] { move(LBSelectItemCd, LBItemCd, false); });
    connect(SpdAllDelItem, &QPushButton::clicked, this, [this] { move(LBSelectItemCd, LBItemCd, true); });
    connect(BtnCreate, &QPushButton::clicked, this, &TFrmP102B00::BtnCreateClick);
    connect(BtnPrint, &QPushButton::clicked, this, &TFrmP102B00::BtnPrintClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);

    DMData->FillGroupCombo(cboGroup, QStringLiteral("00"));
    cboGroup->setCurrentIndex(0);
    DMData->FillGradeListBox(LBStudtNo);
    cboGroupChange();
    updateCreate();
}

void TFrmP102B00::cboGroupChange() {
    LBItemCd->clear();
    Query q(QStringLiteral("SELECT ItemCd, ItemID, ItemNm FROM C_ITEM WHERE Gcode = ? ORDER BY ItemID"));
    q.add(cboGroup->currentText().left(2));
    if (q.exec())
        while (q.next()) {
            auto* it = new QListWidgetItem(q.str(1) + QLatin1Char('.') + q.str(2), LBItemCd);
            it->setData(Qt::UserRole, q.str(0));
        }
}

void TFrmP102B00::move(QListWidget* from, QListWidget* to, bool all) {
    for (int i = 0; i < from->count();) {
        if (!all && !from->item(i)->isSelected()) {
            ++i;
            continue;
        }
        QListWidgetItem* it = from->takeItem(i);
        it->setSelected(false);
        to->addItem(it);
    }
    updateCreate();
}

void TFrmP102B00::updateCreate() {
    BtnCreate->setEnabled(LBSelectStudtNo->count() > 0 && LBSelectItemCd->count() > 0);
}

ReportSelection TFrmP102B00::selection() const {
    ReportSelection s;
    s.gcode = cboGroup->currentText().left(2);
    s.hak1 = SHakFromEdit->text();
    s.ban1 = SBanFromEdit->text();
    s.bun1 = SBunFromEdit->text();
    s.hak2 = SHakToEdit->text();
    s.ban2 = SBanToEdit->text();
    s.bun2 = SBunToEdit->text();
    QStringList grades, items;
    for (int i = 0; i < LBSelectStudtNo->count(); ++i)
        grades << LBSelectStudtNo->item(i)->text().left(1);
    for (int i = 0; i < LBSelectItemCd->count(); ++i)
        items << LBSelectItemCd->item(i)->data(Qt::UserRole).toString();
    s.extra.insert(QStringLiteral("year"), cboYear->currentText().trimmed());
    s.extra.insert(QStringLiteral("grades"), grades.join(QLatin1Char(',')));
    s.extra.insert(QStringLiteral("itemcds"), items.join(QLatin1Char(',')));
    return s;
}

void TFrmP102B00::BtnCreateClick() {
    const ReportSelection s = selection();
    if (const std::optional<ReportBox> box = Ledger::check(s)) {
        box->show(this);
        return;
    }
    if (Msg::show(QStringLiteral("수납부"),
                  QStringLiteral("자료생성시간이 몇분 소요가 될수있습니다\r계속하시겠습니까?"),
                  MsgIcon::Question, MsgButtons::YesNo, this) == MsgResult::No)
        return;
    PnlDispWait->setVisible(true);
    PnlDispWait->repaint();
    QString error;
    const bool ok = Ledger::build(s, nullptr, &error);
    PnlDispWait->setVisible(false);
    if (!ok) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("수납테이블생성 실패\r") + error, this);
        return;
    }
    Msg::info(QStringLiteral("수납부"), QStringLiteral("자료생성하였습니다.\r인쇄하시면 됩니다!"), this);
}

void TFrmP102B00::BtnPrintClick() {
    ReportDocument doc;
    if (const std::optional<ReportBox> box = Ledger::print(selection(), &doc)) {
        box->show(this);
        return;
    }
    doc.preview(this);
}

void TFrmP102B00::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        // Enter in the last student-number edit stays there; elsewhere it
        // moves on.
        if (focusWidget() != SBunToEdit) focusNextChild();
        return;
    }
    QDialog::keyPressEvent(e);
}
