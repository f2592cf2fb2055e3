#include "transfers/distribution/M102B01.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Msg.h"
#include "shared/ButtonRow.h"
#include "transfers/common/CollectionRound.h"
#include "transfers/common/KeyEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QListWidget* checkList(QWidget* parent) {
    auto* l = new QListWidget(parent);
    return l;
}

QStringList checked(const QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        if (l->item(i)->checkState() == Qt::Checked) out << l->item(i)->text();
    return out;
}

} // namespace

TFrmM102B01::TFrmM102B01(const QString& groupText, QWidget* parent) : QDialog(parent), groupText_(groupText) {
    setWindowTitle(QStringLiteral("자료생성"));
    auto* lay = new QVBoxLayout(this);
    PgCtrl = new QTabWidget(this);
    TSNo = new QWidget(PgCtrl);
    TSGrp = new QWidget(PgCtrl);
    PgCtrl->addTab(TSNo, QStringLiteral("학년별생성"));
    PgCtrl->addTab(TSGrp, QStringLiteral("그룹별생성"));

    auto* g1 = new QHBoxLayout(TSNo);
    CLbSCd = checkList(TSNo);
    CLbItem = checkList(TSNo);
    CLbItem->setSortingEnabled(true);
    g1->addWidget(CLbSCd);
    g1->addWidget(CLbItem);

    auto* g2 = new QGridLayout(TSGrp);
    LbGrp = new QListWidget(TSGrp);
    LbItem = new QListWidget(TSGrp);
    LbGrpSelect = new QListWidget(TSGrp);
    BBtnGrpAdd = new QPushButton(QStringLiteral("추가"), TSGrp);
    BBtnGrpDel = new QPushButton(QStringLiteral("삭제"), TSGrp);
    g2->addWidget(LbGrp, 0, 0);
    g2->addWidget(LbItem, 0, 1);
    auto* mid = new QVBoxLayout;
    mid->addStretch();
    mid->addWidget(BBtnGrpAdd);
    mid->addWidget(BBtnGrpDel);
    mid->addStretch();
    g2->addLayout(mid, 0, 2);
    g2->addWidget(LbGrpSelect, 0, 3);
    lay->addWidget(PgCtrl, 1);

    auto* round = new QGroupBox(QStringLiteral("이체년월/회차"), this);
    auto* rl = new QHBoxLayout(round);
    MEdtYearMon = new TKeyEdit(round);
    MEdtYearMon->setInputMask(QStringLiteral("9999-99; "));
    MEdtSeqNo = new TKeyEdit(round);
    MEdtSeqNo->setInputMask(QStringLiteral("99; "));
    rl->addWidget(MEdtYearMon);
    rl->addWidget(MEdtSeqNo);
    rl->addStretch();
    lay->addWidget(round);

    BBtnCreate = new QPushButton(QStringLiteral("자료생성"), this);
    BBtnDel = new QPushButton(QStringLiteral("자료삭제"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    lay->addLayout(ButtonRow::rightAligned({BBtnCreate, BBtnDel, BBtnCncl}));

    connect(BBtnCreate, &QPushButton::clicked, this, &TFrmM102B01::BBtnCreateClick);
    connect(BBtnDel, &QPushButton::clicked, this, &TFrmM102B01::BBtnDelClick);
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
    connect(BBtnGrpAdd, &QPushButton::clicked, this, &TFrmM102B01::BBtnGrpAddClick);
    connect(BBtnGrpDel, &QPushButton::clicked, this, &TFrmM102B01::BBtnGrpDelClick);
    MEdtYearMon->onExit = [this] { MEdtYearMonExit(); };
    MEdtSeqNo->onExit = [this] { MEdtSeqNoExit(); };
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus) w->installEventFilter(this);

    // The lists hold the work window's group's items.
    DMData->SetItemGroup(groupText_.left(2));
    DMData->FillGradeCheckList(CLbSCd);
    DMData->FillItemCheckList(CLbItem);
    DMData->FillItemListBox(LbItem, QString());
    LbGrp->addItems(CollectionRound::studentGroups());
    if (LbGrp->count() > 0) LbGrp->setCurrentRow(0);
    MEdtYearMon->setText(Clock::yearMonthText());
    MEdtSeqNo->setText(DistribRound::nextSeqNo(yearMon()));
    resize(640, 420);
}

bool TFrmM102B01::eventFilter(QObject* o, QEvent* e) {
    // Enter moves on; it never presses a button by itself.
    if (e->type() == QEvent::KeyPress && isEnterKey(static_cast<QKeyEvent*>(e)) &&
        !qobject_cast<QPushButton*>(o)) {
        focusNextChild();
        return true;
    }
    return QDialog::eventFilter(o, e);
}

QString TFrmM102B01::yearMon() const {
    return TDMLib::DigitsOnly(MEdtYearMon->text());
}

QString TFrmM102B01::seqNo() const {
    return TDMLib::DigitsOnly(MEdtSeqNo->text());
}

void TFrmM102B01::MEdtYearMonExit() {
    if (yearMon().isEmpty()) MEdtYearMon->setText(Clock::yearMonthText());
}

void TFrmM102B01::MEdtSeqNoExit() {
    const QString s = seqNo();
    if (s.isEmpty())
        MEdtSeqNo->setText(QStringLiteral("01"));
    else if (s.size() == 1)
        MEdtSeqNo->setText(QStringLiteral("%1").arg(s.toInt(), 2, 10, QLatin1Char('0')));
}

DistribRound::Target TFrmM102B01::target() const {
    return {groupText_, yearMon(), seqNo()};
}

QStringList TFrmM102B01::checkedGrades() const {
    QStringList out;
    for (const QString& g : checked(CLbSCd))
        out << g.left(1);
    return out;
}

QStringList TFrmM102B01::checkedItemLines() const {
    return checked(CLbItem);
}

QStringList TFrmM102B01::itemCds(const QStringList& lines) {
    QStringList out;
    for (const QString& l : lines)
        out << DMData->GetItemCodeByID(l.left(2));
    return out;
}

QList<DistribRound::GroupPair> TFrmM102B01::pairs() const {
    QList<DistribRound::GroupPair> out;
    for (int i = 0; i < LbGrpSelect->count(); ++i) {
        const QListWidgetItem* it = LbGrpSelect->item(i);
        out << DistribRound::GroupPair{it->data(Qt::UserRole).toString(),
                                       DMData->GetItemCodeByID(it->data(Qt::UserRole + 1).toString().left(2)),
                                       it->text()};
    }
    return out;
}

void TFrmM102B01::BBtnGrpAddClick() {
    const QListWidgetItem* g = LbGrp->currentItem();
    const QListWidgetItem* i = LbItem->currentItem();
    if (!g || !i) return;
    const QString text = QStringLiteral("%1 = %2").arg(g->text(), -10).arg(i->text());
    for (int k = 0; k < LbGrpSelect->count(); ++k)
        if (LbGrpSelect->item(k)->text().startsWith(text, Qt::CaseInsensitive)) return;
    auto* it = new QListWidgetItem(text, LbGrpSelect);
    // The pair's parts are kept as chosen: a group name may be longer than
    // the ten places of the text.
    it->setData(Qt::UserRole, g->text());
    it->setData(Qt::UserRole + 1, i->text());
}

void TFrmM102B01::BBtnGrpDelClick() {
    delete LbGrpSelect->currentItem();
}

void TFrmM102B01::BBtnCreateClick() {
    if (yearMon().size() < 6 || seqNo().size() < 2) {
        accept();
        return;
    }
    const DistribRound::Target t = target();
    if (DistribRound::exists(t) &&
        Msg::show(QStringLiteral("이체파일생성"),
                  QStringLiteral("이체년월/회차가 존재합니다! 이체자료를 추가하시겠습니까?"),
                  MsgIcon::Question, MsgButtons::YesNo, this) != MsgResult::Yes) {
        accept();
        return;
    }
    const QStringList lines = checkedItemLines();
    DistribRound::show(PgCtrl->currentWidget() == TSNo
                           ? DistribRound::createByGrade(t, checkedGrades(), itemCds(lines), lines)
                           : DistribRound::createByGroup(t, pairs()));
    accept();
}

void TFrmM102B01::BBtnDelClick() {
    if (yearMon().size() < 6 || seqNo().size() < 2) {
        accept();
        return;
    }
    const DistribRound::Target t = target();
    if (!DistribRound::exists(t)) {
        Msg::error(QStringLiteral("이체파일삭제"), QStringLiteral("이체년월/회차가 존재 않습니다!"), this);
        accept();
        return;
    }
    const QStringList lines = checkedItemLines();
    DistribRound::show(PgCtrl->currentWidget() == TSNo
                           ? DistribRound::deleteByGrade(t, checkedGrades(), itemCds(lines), lines)
                           : DistribRound::deleteByGroup(t, pairs()));
    accept();
}

namespace {
const FormRegistrar registrar(FormEntry{
    QStringLiteral("M102B01"), QStringLiteral("자료생성"), FormEntry::Mode::Dialog,
    [](QWidget* parent) -> QWidget* { return new TFrmM102B01(QStringLiteral("01"), parent); }});
} // namespace
