#include "students/F201B04.h"

#include "platform/ui/Msg.h"
#include "students/StudentStore.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Moves the selected entry to the end of the other list; false when none is
// selected.
bool moveCurrent(QListWidget* from, QListWidget* to) {
    QListWidgetItem* it = from->currentItem();
    if (!it || !it->isSelected()) return false;
    to->addItem(from->takeItem(from->row(it)));
    return true;
}

void moveAll(QListWidget* from, QListWidget* to) {
    while (from->count() > 0) {
        to->addItem(from->takeItem(0));
    }
}

} // namespace

TFrmF201B04::TFrmF201B04(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("수정 회차 선택"));
    auto* grid = new QGridLayout(this);
    LbYearMonDest = new QListWidget(this);
    LbYearMonSrc = new QListWidget(this);
    LbYearMonDest->setObjectName(QStringLiteral("LbYearMonDest"));
    LbYearMonSrc->setObjectName(QStringLiteral("LbYearMonSrc"));
    grid->addWidget(new QLabel(QStringLiteral("회차"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("선택된회차"), this), 0, 2);
    grid->addWidget(LbYearMonDest, 1, 0);
    grid->addWidget(LbYearMonSrc, 1, 2);
    auto* mid = new QVBoxLayout;
    SBtnAllAdd = new QPushButton(QStringLiteral("->>"), this);
    SBtnAdd = new QPushButton(QStringLiteral("->"), this);
    SBtnDel = new QPushButton(QStringLiteral("<-"), this);
    SBtnAllDel = new QPushButton(QStringLiteral("<<-"), this);
    for (QPushButton* b : {SBtnAllAdd, SBtnAdd, SBtnDel, SBtnAllDel})
        mid->addWidget(b);
    grid->addLayout(mid, 1, 1);
    auto* bottom = new QHBoxLayout;
    BBtnAdd = new QPushButton(QStringLiteral("확인"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    bottom->addStretch();
    bottom->addWidget(BBtnAdd);
    bottom->addWidget(BBtnCncl);
    grid->addLayout(bottom, 2, 0, 1, 3);

    connect(SBtnAdd, &QPushButton::clicked, this, &TFrmF201B04::SBtnAddClick);
    connect(SBtnDel, &QPushButton::clicked, this, &TFrmF201B04::SBtnDelClick);
    connect(SBtnAllAdd, &QPushButton::clicked, this, &TFrmF201B04::SBtnAllAddClick);
    connect(SBtnAllDel, &QPushButton::clicked, this, &TFrmF201B04::SBtnAllDelClick);
    connect(LbYearMonDest, &QListWidget::itemDoubleClicked, this, &TFrmF201B04::LbYearMonDestDblClick);
    connect(LbYearMonSrc, &QListWidget::itemDoubleClicked, this, &TFrmF201B04::LbYearMonSrcDblClick);
    connect(BBtnAdd, &QPushButton::clicked, this, &TFrmF201B04::BBtnAddClick);
    connect(BBtnCncl, &QPushButton::clicked, this, &TFrmF201B04::BBtnCnclClick);
    FormCreate();
}

void TFrmF201B04::FormCreate() {
    LbYearMonDest->clear();
    LbYearMonDest->addItems(StudentStore::roundEntries());
}

QStringList TFrmF201B04::chosen() const {
    QStringList out;
    for (int i = 0; i < LbYearMonSrc->count(); ++i)
        out << LbYearMonSrc->item(i)->text();
    return out;
}

void TFrmF201B04::SBtnAddClick() {
    if (!moveCurrent(LbYearMonDest, LbYearMonSrc))
        Msg::info(QStringLiteral("선택"), QStringLiteral("선택할 회차를 선택하십시요"), this);
}

void TFrmF201B04::SBtnDelClick() {
    if (!moveCurrent(LbYearMonSrc, LbYearMonDest))
        Msg::info(QStringLiteral("선택"), QStringLiteral("선택 최소할 회차를 선택하십시요"), this);
}

void TFrmF201B04::SBtnAllAddClick() {
    moveAll(LbYearMonDest, LbYearMonSrc);
}
void TFrmF201B04::SBtnAllDelClick() {
    moveAll(LbYearMonSrc, LbYearMonDest);
}
void TFrmF201B04::LbYearMonDestDblClick() {
    moveCurrent(LbYearMonDest, LbYearMonSrc);
}
void TFrmF201B04::LbYearMonSrcDblClick() {
    moveCurrent(LbYearMonSrc, LbYearMonDest);
}
void TFrmF201B04::BBtnAddClick() {
    done(1);
}
void TFrmF201B04::BBtnCnclClick() {
    done(2);
}
