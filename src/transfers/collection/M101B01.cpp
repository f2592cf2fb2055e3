#include "transfers/collection/M101B01.h"

#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "shared/ButtonRow.h"
#include "transfers/collection/M101B0a.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TFrmM101B01::TFrmM101B01(const RoundDialogValues& values, QWidget* parent)
    : QDialog(parent), bank_(values.bank) {
    setWindowTitle(QStringLiteral("자료생성"));
    setObjectName(QStringLiteral("FrmM101B01"));

    eGroup = new QLineEdit(values.groupLine, this);
    eGroup->setReadOnly(true);
    MEdtYearMon = new QLineEdit(this);
    MEdtYearMon->setInputMask(QStringLiteral("9999-99;_"));
    MEdtSeqNo = new QLineEdit(this);
    MEdtSeqNo->setInputMask(QStringLiteral("99;_"));
    txtSeqTitle = new QLineEdit(this);
    limitCp949(txtSeqTitle, 30);

    const QString gc = values.groupLine.left(2);
    pages.build(gc);
    PgCtrl = new QTabWidget(this);
    PgCtrl->addTab(pages.TSNo, QStringLiteral("학년별생성"));
    PgCtrl->addTab(pages.TSGrp, QStringLiteral("그룹별생성"));

    TSMerge = new QWidget;
    vListBox = new QListWidget(TSMerge);
    auto* ml = new QVBoxLayout(TSMerge);
    ml->addWidget(vListBox);
    ml->addWidget(
        new QLabel(QStringLiteral("미처리 합치기 대상으로 선택된 회차의 \n미처리 자료는 모두 삭제됩니다.\n"
                                  "특별히 유의 하십시오.")));
    PgCtrl->addTab(TSMerge, QStringLiteral("미처리합치기"));

    TSCopy = new QWidget;
    cboSource = new QComboBox(TSCopy);
    cboSource->setEditable(false);
    auto* cl = new QVBoxLayout(TSCopy);
    cl->addWidget(cboSource);
    cl->addStretch();
    PgCtrl->addTab(TSCopy, QStringLiteral("회차복사"));

    pnProgress = new QLabel(QStringLiteral("처리중입니다. 잠시만 기다려주세요"), this);
    pnProgress->hide();
    BBtnCreate = new QPushButton(QStringLiteral("자료생성"), this);
    BBtnDel = new QPushButton(QStringLiteral("자료삭제"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("항목그룹"), eGroup);
    form->addRow(QStringLiteral("이체년월"), MEdtYearMon);
    form->addRow(QStringLiteral("회차"), MEdtSeqNo);
    form->addRow(QStringLiteral("회차제목"), txtSeqTitle);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(PgCtrl);
    top->addWidget(pnProgress);
    top->addLayout(ButtonRow::rightAligned({BBtnCreate, BBtnDel, BBtnCncl}));

    // The default round: one above the month's highest.
    FLbHProc = Rounds::collectionTables();
    MEdtYearMon->setText(Clock::yearMonthText());
    MEdtSeqNo->setText(Rounds::nextSeqNo(FLbHProc, yearMon()));
    CLBSeq = Rounds::mergeCandidates(gc);
    sLoadTitle();
    PgCtrl->setCurrentWidget(pages.TSNo);

    connect(MEdtYearMon, &QLineEdit::editingFinished, this, [this] { MEdtYearMonExit(); });
    connect(MEdtSeqNo, &QLineEdit::editingFinished, this, [this] { MEdtSeqNoExit(); });
    connect(MEdtYearMon, &QLineEdit::textChanged, this, [this] { sLoadTitle(); });
    connect(MEdtSeqNo, &QLineEdit::textChanged, this, [this] { sLoadTitle(); });
    connect(PgCtrl, &QTabWidget::currentChanged, this, [this] { PgCtrlChange(); });
    connect(BBtnCreate, &QPushButton::clicked, this, [this] { BBtnCreateClick(); });
    connect(BBtnDel, &QPushButton::clicked, this, [this] { BBtnDelClick(); });
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFrmM101B01::yearMon() const {
    return MEdtYearMon->text().remove(QLatin1Char('-')).remove(QLatin1Char('_')).trimmed();
}

QString TFrmM101B01::seqNo() const {
    return MEdtSeqNo->text().remove(QLatin1Char('_')).trimmed();
}

RoundTarget TFrmM101B01::roundTarget() const {
    return RoundTarget{eGroup->text(), yearMon(), seqNo()};
}

void TFrmM101B01::MEdtYearMonExit() {
    if (yearMon().isEmpty()) MEdtYearMon->setText(Clock::yearMonthText());
}

void TFrmM101B01::MEdtSeqNoExit() {
    const QString ss = seqNo();
    if (ss.isEmpty())
        MEdtSeqNo->setText(QStringLiteral("01"));
    else if (ss.size() == 1)
        MEdtSeqNo->setText(QStringLiteral("0") + ss);
}

void TFrmM101B01::sLoadTitle() {
    if (!Rounds::ensureTitleTable()) return;
    txtSeqTitle->setText(Rounds::title(yearMon(), seqNo()));
}

void TFrmM101B01::PgCtrlChange() {
    QWidget* page = PgCtrl->currentWidget();
    BBtnCreate->setText(page == TSCopy ? QStringLiteral("회차복사") : QStringLiteral("자료생성"));
    BBtnDel->setEnabled(page != TSCopy);
    if (page == TSCopy) {
        cboSource->clear();
        for (const QString& t : CLBSeq)
            cboSource->addItem(Rounds::roundCaption(Rounds::yearMonOf(t), Rounds::seqNoOf(t)), t);
        if (cboSource->count() > 0) cboSource->setCurrentIndex(0);
    } else if (page == TSMerge) {
        vListBox->clear();
        for (const QString& t : CLBSeq) {
            auto* it =
                new QListWidgetItem(Rounds::roundCaption(Rounds::yearMonOf(t), Rounds::seqNoOf(t)), vListBox);
            it->setData(Qt::UserRole, t);
            it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
            it->setCheckState(Qt::Unchecked);
        }
        Rounds::plainBox(QStringLiteral(
            "미처리 합치기 대상으로 선택된 회차의\r미처리 자료는 모두 삭제됩니다.\r특별히 유의 하십시오."));
    } else if (page == pages.TSGrp) {
        pages.LbGrpSelect->clear();
    }
}

void TFrmM101B01::BBtnCreateClick() {
    if (yearMon().size() < 6) return;
    if (!Rounds::isSeqNo(seqNo())) {
        // Also when the month's rounds are used up: round 99 is the last.
        RoundMessages::badRound();
        return;
    }
    QWidget* page = PgCtrl->currentWidget();
    const RoundTarget t = roundTarget();
    const QString title = txtSeqTitle->text();
    RoundResult r;
    RoundMessages::Action action;
    pnProgress->show();
    QApplication::processEvents();
    if (page == pages.TSNo) {
        if (pages.checkedGrades().isEmpty()) {
            pnProgress->hide();
            Rounds::plainBox(QStringLiteral("학년을 선택하세요."));
            return;
        }
        if (pages.checkedItemIds().isEmpty()) {
            pnProgress->hide();
            Msg::error(QStringLiteral("확인요망"), QStringLiteral("항목을 선택하세요!!"));
            return;
        }
        GradeSelection s{pages.checkedGrades(), pages.checkedItemIds(), pages.checkedItemLines(), bank_};
        action = RoundMessages::Action::CreateByGrade;
        r = RoundBuilder::createByGrade(t, s, title);
    } else if (page == pages.TSGrp) {
        if (pages.LbGrpSelect->count() == 0) {
            pnProgress->hide();
            Rounds::plainBox(QStringLiteral("그룹을 추가하세요."));
            pages.LbGrpSelect->setFocus();
            return;
        }
        action = RoundMessages::Action::CreateByGroup;
        r = RoundBuilder::createByGroup(t, pages.chosenGroups(), title);
    } else if (page == TSMerge) {
        QStringList sources;
        for (int i = 0; i < vListBox->count(); ++i)
            if (vListBox->item(i)->checkState() == Qt::Checked)
                sources << vListBox->item(i)->data(Qt::UserRole).toString();
        action = RoundMessages::Action::Merge;
        r = RoundBuilder::createMerged(t, sources, title);
    } else {
        action = RoundMessages::Action::Copy;
        BBtnCreate->setEnabled(false);
        r = RoundBuilder::createCopy(t, cboSource->currentData().toString(), title);
        BBtnCreate->setEnabled(true);
    }
    pnProgress->hide();
    RoundMessages::show(action, r);
    if (!r.ok()) return;
    if (t.seqNo == QLatin1String("01") && page == pages.TSNo) cmdClearTableClick();
    accept();
}

void TFrmM101B01::BBtnDelClick() {
    if (yearMon().size() < 6 || seqNo().size() < 2) return;
    const RoundTarget t = roundTarget();
    if (t.table().isEmpty() || !Database::tableExists(t.table())) {
        Msg::error(QStringLiteral("이체파일삭제"), QStringLiteral("이체년월/회차가 존재 않습니다!"));
    } else if (PgCtrl->currentWidget() == pages.TSNo) {
        RoundMessages::show(RoundMessages::Action::DeleteByGrade,
                            RoundBuilder::deleteByGrade(t, pages.checkedGrades(), pages.checkedItemIds(),
                                                        pages.checkedItemLines()));
    } else if (PgCtrl->currentWidget() == pages.TSGrp) {
        RoundMessages::show(RoundMessages::Action::DeleteByGroup,
                            RoundBuilder::deleteByGroup(t, pages.chosenGroups()));
    }
    accept();
}

void TFrmM101B01::cmdClearTableClick() {
    const QStringList unused = RoundBuilder::unusedRounds(FLbHProc);
    if (unused.isEmpty()) return;
    TFrmM101B0a dlg(unused, this);
    Modal::exec(&dlg);
}

void TFrmM101B01::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(e);
}
