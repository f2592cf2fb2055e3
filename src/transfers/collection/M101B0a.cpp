#include "transfers/collection/M101B0a.h"

#include "platform/ui/Msg.h"
#include "transfers/collection/RoundBuilder.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFrmM101B0a::TFrmM101B0a(const QStringList& tables, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("사용하지 않는 회차정리"));
    clBox = new QListWidget(this);
    for (const QString& t : tables) {
        auto* it = new QListWidgetItem(t, clBox);
        it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        it->setCheckState(Qt::Unchecked);
    }
    chkGrade = new QCheckBox(QStringLiteral("전체선택"), this);
    cmdClearTable = new QPushButton(QStringLiteral("자료정리"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkGrade);
    buttons->addStretch();
    buttons->addWidget(cmdClearTable);
    buttons->addWidget(BBtnCncl);
    auto* top = new QVBoxLayout(this);
    top->addWidget(clBox);
    top->addLayout(buttons);

    connect(chkGrade, &QCheckBox::clicked, this, [this](bool on) {
        for (int i = 0; i < clBox->count(); ++i)
            clBox->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        cmdClearTable->setEnabled(on && clBox->count() > 0);
    });
    connect(clBox, &QListWidget::itemChanged, this,
            [this] { cmdClearTable->setEnabled(!checkedTables().isEmpty()); });
    connect(cmdClearTable, &QPushButton::clicked, this, [this] { cmdClearTableClick(); });
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);
}

QStringList TFrmM101B0a::checkedTables() const {
    QStringList out;
    for (int i = 0; i < clBox->count(); ++i)
        if (clBox->item(i)->checkState() == Qt::Checked) out << clBox->item(i)->text();
    return out;
}

void TFrmM101B0a::cmdClearTableClick() {
    const QStringList tables = checkedTables();
    if (tables.isEmpty()) {
        Rounds::plainBox(QStringLiteral("선택한 회차가 없습니다."));
        return;
    }
    if (!Msg::askYesNo(QStringLiteral("면제선택"),
                       QStringLiteral("생성후 사용하지 않는 회차를 삭제하시겠습니까??"), this))
        return;
    const int n = RoundBuilder::dropRounds(tables);
    Rounds::plainBox(QStringLiteral("%1개의 회차가 삭제되었습니다.").arg(n));
    accept();
}

void TFrmM101B0a::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(e);
}
