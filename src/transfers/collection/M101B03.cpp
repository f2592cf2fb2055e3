#include "transfers/collection/M101B03.h"

#include "data/DMModule.h"
#include "platform/ui/Msg.h"
#include "shared/ButtonRow.h"
#include "transfers/common/KeyEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TFrmM101B03::TFrmM101B03(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("금액수정"));
    CbItem = new QComboBox(this);
    cboGroup = new QComboBox(this);
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    auto edit = [&](int len) {
        auto* e = new TKeyEdit(this);
        e->setMaxLength(len);
        e->setValidator(digits);
        return e;
    };
    SHakEdit = edit(1);
    SBanEdit = edit(2);
    SBunEdit = edit(SNoLen - 3);
    EdtAmt = edit(10);
    CAfree = new QCheckBox(QStringLiteral("전액면제자"), this);
    CPfree = new QCheckBox(QStringLiteral("부분면제자"), this);
    CAll = new QCheckBox(QStringLiteral("전체"), this);
    BBtnOK = new QPushButton(QStringLiteral("수정"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    BBtnCncl->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(CAll, &QCheckBox::toggled, this, &TFrmM101B03::CAllClick);
    connect(BBtnOK, &QPushButton::clicked, this, &TFrmM101B03::BBtnOKClick);
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
    // Enter moves on: grade, class, number, amount; in the amount it confirms.
    const QList<std::pair<TKeyEdit*, QWidget*>> order = {
        {SHakEdit, SBanEdit}, {SBanEdit, SBunEdit}, {SBunEdit, EdtAmt}};
    for (const auto& [e, next] : order)
        e->onKey = [next](QKeyEvent* k, const QString&) {
            if (!isEnterKey(k)) return false;
            next->setFocus();
            return true;
        };
    EdtAmt->onKey = [this](QKeyEvent* k, const QString&) {
        if (!isEnterKey(k)) return false;
        BBtnOKClick();
        return true;
    };

    auto* g = new QGridLayout;
    g->addWidget(new QLabel(QStringLiteral("항목"), this), 0, 0);
    g->addWidget(CbItem, 0, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("학생그룹"), this), 1, 0);
    g->addWidget(cboGroup, 1, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("학번"), this), 2, 0);
    auto* sno = new QHBoxLayout;
    sno->addWidget(SHakEdit);
    sno->addWidget(SBanEdit);
    sno->addWidget(SBunEdit);
    sno->addWidget(CAll);
    g->addLayout(sno, 2, 1, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("금액"), this), 3, 0);
    g->addWidget(EdtAmt, 3, 1, 1, 3);
    auto* free = new QHBoxLayout;
    free->addWidget(CAfree);
    free->addWidget(CPfree);
    g->addLayout(free, 4, 1, 1, 3);
    auto* top = new QVBoxLayout(this);
    top->addLayout(g);
    top->addLayout(ButtonRow::rightAligned({BBtnOK, BBtnCncl}));
}

void TFrmM101B03::fillChoices(QComboBox* combo, const QStringList& all, const QStringList& ticked) {
    combo->clear();
    if (!ticked.isEmpty()) {
        combo->addItems(ticked);
        combo->setCurrentIndex(0);
    } else {
        combo->addItems(all);
        combo->setCurrentIndex(-1);
    }
}

void TFrmM101B03::setSNo(const QString& sno) {
    SHakEdit->setText(sno.left(1));
    SBanEdit->setText(sno.mid(1, 2));
    SBunEdit->setText(sno.mid(3, SNoLen - 3));
}

void TFrmM101B03::CAllClick() {
    const bool all = CAll->isChecked();
    for (TKeyEdit* e : {SHakEdit, SBanEdit, SBunEdit}) {
        if (all) e->clear();
        e->setEnabled(!all);
    }
}

void TFrmM101B03::BBtnOKClick() {
    if (EdtAmt->text().trimmed().isEmpty() || !RowEdit::parseAmount(EdtAmt->text())) {
        Msg::error(QStringLiteral("금액입력오류"), QStringLiteral("금액을 입력하세요!"), this);
        EdtAmt->setFocus();
        return;
    }
    if (!IsValidSNoInput(SHakEdit->text(), SBanEdit->text(), SBunEdit->text())) {
        Msg::error(QStringLiteral("학번입력 오류"), QStringLiteral("학번 입력 정보가 올바르지 않습니다."), this);
        SHakEdit->setFocus();
        return;
    }
    accept();
}

RowEdit::BulkAmount TFrmM101B03::values() const {
    RowEdit::BulkAmount b;
    b.itemId = CbItem->currentText().left(2).trimmed();
    b.grpNm = cboGroup->currentText();
    b.sno = MakeSNo(SHakEdit->text(), SBanEdit->text(), SBunEdit->text());
    b.amount = EdtAmt->text();
    b.partFree = CPfree->isChecked();
    b.allFree = CAfree->isChecked();
    return b;
}
