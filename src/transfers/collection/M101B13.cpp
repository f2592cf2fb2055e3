#include "transfers/collection/M101B13.h"

#include "platform/ui/Msg.h"
#include "shared/ButtonRow.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TFrmM101B13::TFrmM101B13(const RoundDialogValues& values, QWidget* parent)
    : QDialog(parent), bank_(values.bank) {
    setWindowTitle(QStringLiteral("자료추가"));
    eGroup = new QLineEdit(values.groupLine, this);
    eGroup->setReadOnly(true);
    eGroup->setEnabled(false);
    MEdtYearMon = new QLineEdit(values.yearMon, this);
    MEdtYearMon->setEnabled(false);
    MEdtSeqNo = new QLineEdit(values.seqNo, this);
    MEdtSeqNo->setEnabled(false);

    pages.build(values.groupLine.left(2));
    PgCtrl = new QTabWidget(this);
    PgCtrl->addTab(pages.TSNo, QStringLiteral("학년별"));
    PgCtrl->addTab(pages.TSGrp, QStringLiteral("그룹별"));
    BBtnCreate = new QPushButton(QStringLiteral("자료추가"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("항목그룹"), eGroup);
    form->addRow(QStringLiteral("이체년월"), MEdtYearMon);
    form->addRow(QStringLiteral("회차"), MEdtSeqNo);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(PgCtrl);
    top->addLayout(ButtonRow::rightAligned({BBtnCreate, BBtnCncl}));

    connect(PgCtrl, &QTabWidget::currentChanged, this, [this] {
        if (PgCtrl->currentWidget() == pages.TSGrp) pages.LbGrpSelect->clear();
    });
    connect(BBtnCreate, &QPushButton::clicked, this, [this] { BBtnCreateClick(); });
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmM101B13::BBtnCreateClick() {
    const RoundTarget t{eGroup->text(), MEdtYearMon->text().trimmed(), MEdtSeqNo->text().trimmed()};
    RoundResult r;
    RoundMessages::Action action;
    if (PgCtrl->currentWidget() == pages.TSNo) {
        if (pages.checkedGrades().isEmpty()) {
            Rounds::plainBox(QStringLiteral("학년을 선택하세요."));
            return;
        }
        if (pages.checkedItemIds().isEmpty()) {
            Msg::error(QStringLiteral("확인요망"), QStringLiteral("항목을 선택하세요!!"));
            return;
        }
        action = RoundMessages::Action::AddByGrade;
        r = RoundBuilder::addByGrade(t, GradeSelection{pages.checkedGrades(), pages.checkedItemIds(),
                                                       pages.checkedItemLines(), bank_});
    } else {
        if (pages.LbGrpSelect->count() == 0) {
            Rounds::plainBox(QStringLiteral("그룹을 추가하세요."));
            pages.LbGrpSelect->setFocus();
            return;
        }
        action = RoundMessages::Action::AddByGroup;
        r = RoundBuilder::addByGroup(t, pages.chosenGroups());
    }
    RoundMessages::show(action, r);
    if (r.ok()) accept();
}

void TFrmM101B13::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(e);
}
