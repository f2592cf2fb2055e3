#include "transfers/distribution/M102B07.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Msg.h"
#include "shared/ButtonRow.h"
#include "transfers/common/KeyEdit.h"
#include "transfers/distribution/DistribRound.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFrmM102B07::TFrmM102B07(const QString& groupText, QWidget* parent) : QDialog(parent), groupText_(groupText) {
    setWindowTitle(QStringLiteral("학생추가"));
    auto* lay = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    MedtYearMon = new QLineEdit(this);
    MedtYearMon->setInputMask(QStringLiteral("9999-99; "));
    MedtYearMon->setReadOnly(true);
    MedtYearMon->setFocusPolicy(Qt::ClickFocus);
    EdtSeqNo = new QLineEdit(this);
    EdtSeqNo->setMaxLength(2);
    EdtSeqNo->setReadOnly(true);
    EdtSeqNo->setFocusPolicy(Qt::ClickFocus);
    medtStudtNo = new QLineEdit(this);
    medtStudtNo->setInputMask(QStringLiteral("9-99-999; "));
    edtStudtNm = new QLineEdit(this);
    edtStudtNm->setReadOnly(true);
    edtStudtNm->setEnabled(false);
    top->addWidget(new QLabel(QStringLiteral("이체년월"), this), 0, 0);
    top->addWidget(MedtYearMon, 0, 1);
    top->addWidget(new QLabel(QStringLiteral("회  차"), this), 0, 2);
    top->addWidget(EdtSeqNo, 0, 3);
    top->addWidget(new QLabel(QStringLiteral("학  번"), this), 1, 0);
    top->addWidget(medtStudtNo, 1, 1);
    top->addWidget(new QLabel(QStringLiteral("성  명"), this), 1, 2);
    top->addWidget(edtStudtNm, 1, 3);
    lay->addLayout(top);

    auto* lists = new QHBoxLayout;
    LbItem = new QListWidget(this);
    LbItemAdd = new QListWidget(this);
    for (QListWidget* l : {LbItem, LbItemAdd}) {
        l->setSortingEnabled(true);
        l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
    spdAddItem = new QPushButton(QStringLiteral("->"), this);
    spdDelItem = new QPushButton(QStringLiteral("<-"), this);
    spdAllAddItem = new QPushButton(QStringLiteral("->>"), this);
    spdAllDelItem = new QPushButton(QStringLiteral("<<-"), this);
    auto* mid = new QVBoxLayout;
    mid->addStretch();
    for (QPushButton* b : {spdAddItem, spdDelItem, spdAllAddItem, spdAllDelItem})
        mid->addWidget(b);
    mid->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("이 체 항 목"), this));
    right->addWidget(LbItemAdd);
    lists->addWidget(LbItem);
    lists->addLayout(mid);
    lists->addLayout(right);
    lay->addLayout(lists, 1);

    bbtnSave = new QPushButton(QStringLiteral("저장"), this);
    bbtnDone = new QPushButton(QStringLiteral("닫기"), this);
    lay->addLayout(ButtonRow::rightAligned({bbtnSave, bbtnDone}));

    connect(spdAddItem, &QPushButton::clicked, this, [this] { moveItems(LbItem, LbItemAdd, false); });
    connect(spdDelItem, &QPushButton::clicked, this, [this] { moveItems(LbItemAdd, LbItem, false); });
    connect(spdAllAddItem, &QPushButton::clicked, this, [this] { moveItems(LbItem, LbItemAdd, true); });
    connect(spdAllDelItem, &QPushButton::clicked, this, [this] { moveItems(LbItemAdd, LbItem, true); });
    connect(bbtnSave, &QPushButton::clicked, this, &TFrmM102B07::bbtnSaveClick);
    connect(bbtnDone, &QPushButton::clicked, this, &QDialog::reject);
    // A changed number is no longer the student found.
    connect(medtStudtNo, &QLineEdit::textChanged, this, [this] {
        edtStudtNm->clear();
        found_.reset();
    });
    medtStudtNo->installEventFilter(this);

    DMData->SetItemGroup(groupText_.left(2));
    DMData->FillItemListBox(LbItem, QString());
    LbItem->setCurrentRow(-1);
    resize(520, 380);
}

bool TFrmM102B07::eventFilter(QObject* o, QEvent* e) {
    if (o == medtStudtNo && e->type() == QEvent::KeyPress && isEnterKey(static_cast<QKeyEvent*>(e))) {
        FindStudent();
        return true;
    }
    return QDialog::eventFilter(o, e);
}

void TFrmM102B07::moveItems(QListWidget* from, QListWidget* to, bool all) {
    QList<QListWidgetItem*> items;
    for (int i = 0; i < from->count(); ++i)
        if (all || from->item(i)->isSelected()) items << from->item(i);
    for (QListWidgetItem* it : items)
        to->addItem(from->takeItem(from->row(it)));
    to->clearSelection();
}

void TFrmM102B07::FindStudent() {
    const QString sno = TDMLib::DigitsOnly(medtStudtNo->text());
    found_ = StudentAdd::findStudent(sno);
    if (found_) {
        edtStudtNm->setText(found_->nm);
    } else {
        Msg::error(QStringLiteral("입력오류"),
                   QStringLiteral("존재하지 않는 학번이거나 전출생입니다.\r확인 후 다시 입력하세요!!"), this);
    }
    LbItem->clear();
    LbItemAdd->clear();
    DMData->FillItemListBox(LbItem, QString());
    LbItem->setCurrentRow(-1);
    const DistribRound::Target t{groupText_, TDMLib::DigitsOnly(MedtYearMon->text()),
                                 EdtSeqNo->text().trimmed()};
    const QStringList has = DistribRound::studentItems(t, sno);
    for (int i = LbItem->count() - 1; i >= 0; --i)
        if (has.contains(DMData->GetItemCodeByID(LbItem->item(i)->text().left(2))))
            LbItemAdd->addItem(LbItem->takeItem(i));
}

void TFrmM102B07::bbtnSaveClick() {
    if (edtStudtNm->text().isEmpty() || !found_) {
        Msg::error(QStringLiteral("입력오류"),
                   QStringLiteral("학생 성명이 없습니다.\r확인 후 다시 입력하세요!!"), this);
        return;
    }
    DistribRound::StudentItems s;
    s.sno = TDMLib::DigitsOnly(medtStudtNo->text());
    s.nm = edtStudtNm->text();
    s.student = *found_;
    for (int i = 0; i < LbItemAdd->count(); ++i) {
        s.itemLines << LbItemAdd->item(i)->text();
        s.itemCds << DMData->GetItemCodeByID(LbItemAdd->item(i)->text().left(2));
    }
    const DistribRound::Target t{groupText_, TDMLib::DigitsOnly(MedtYearMon->text()),
                                 EdtSeqNo->text().trimmed()};
    const DistribRound::AddOutcome o = DistribRound::addStudent(t, s);
    if (!o.ok) {
        Msg::error(QStringLiteral("저장오류"), QStringLiteral("저장하지 못했습니다.\r") + o.error, this);
        return;
    }
    Msg::show(QStringLiteral("저장완료"), QStringLiteral("저장되었습니다!!"));
}

namespace {
const FormRegistrar registrar(FormEntry{
    QStringLiteral("M102B07"), QStringLiteral("학생추가"), FormEntry::Mode::Dialog,
    [](QWidget* parent) -> QWidget* { return new TFrmM102B07(QStringLiteral("01"), parent); }});
} // namespace
