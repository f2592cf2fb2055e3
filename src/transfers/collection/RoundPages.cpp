#include "transfers/collection/RoundPages.h"

#include "data/DMMain.h"
#include "platform/text/Cp949.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum Role { GroupRole = Qt::UserRole, ItemRole };

QStringList checkedTexts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked) out << list->item(i)->text();
    return out;
}

} // namespace

void RoundSelectionPages::build(const QString& gcode) {
    DMData->SetItemGroup(gcode);

    TSNo = new QWidget;
    TSNo->setObjectName(QStringLiteral("TSNo"));
    CLbSCd = new QListWidget(TSNo);
    CLbSCd->setObjectName(QStringLiteral("CLbSCd"));
    chkGrade = new QCheckBox(QStringLiteral("전학년"), TSNo);
    chkGrade->setObjectName(QStringLiteral("chkGrade"));
    CLbItem = new QListWidget(TSNo);
    CLbItem->setObjectName(QStringLiteral("CLbItem"));
    auto* g = new QGridLayout(TSNo);
    g->addWidget(new QLabel(QStringLiteral("학년")), 0, 0);
    g->addWidget(chkGrade, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("항목")), 0, 2);
    g->addWidget(CLbSCd, 1, 0, 1, 2);
    g->addWidget(CLbItem, 1, 2);
    DMData->FillGradeCheckList(CLbSCd);
    DMData->FillItemCheckList(CLbItem);
    CboItemT.clear();
    for (const aItem& i : DMData->ItemList)
        CboItemT << i.Display.section(QLatin1Char('.'), 0, 0);
    QObject::connect(chkGrade, &QCheckBox::clicked, [this] { chkGradeClick(); });

    TSGrp = new QWidget;
    TSGrp->setObjectName(QStringLiteral("TSGrp"));
    LbGrp = new QListWidget(TSGrp);
    LbGrp->setObjectName(QStringLiteral("LbGrp"));
    LbItem = new QListWidget(TSGrp);
    LbItem->setObjectName(QStringLiteral("LbItem"));
    LbGrpSelect = new QListWidget(TSGrp);
    LbGrpSelect->setObjectName(QStringLiteral("LbGrpSelect"));
    BBtnGrpAdd = new QPushButton(QStringLiteral("추가"), TSGrp);
    BBtnGrpAdd->setObjectName(QStringLiteral("BBtnGrpAdd"));
    BBtnGrpDel = new QPushButton(QStringLiteral("삭제"), TSGrp);
    BBtnGrpDel->setObjectName(QStringLiteral("BBtnGrpDel"));
    auto* h = new QGridLayout(TSGrp);
    h->addWidget(new QLabel(QStringLiteral("그룹")), 0, 0);
    h->addWidget(new QLabel(QStringLiteral("항목")), 0, 1);
    h->addWidget(LbGrp, 1, 0, 2, 1);
    h->addWidget(LbItem, 1, 1, 2, 1);
    h->addWidget(BBtnGrpAdd, 1, 2);
    h->addWidget(BBtnGrpDel, 2, 2);
    h->addWidget(LbGrpSelect, 3, 0, 1, 3);
    LbGrp->addItems(Rounds::studentGroups());
    DMData->FillItemListBox(LbItem, QString());
    QObject::connect(BBtnGrpAdd, &QPushButton::clicked, [this] { BBtnGrpAddClick(); });
    QObject::connect(BBtnGrpDel, &QPushButton::clicked, [this] { BBtnGrpDelClick(); });
}

void RoundSelectionPages::chkGradeClick() {
    const Qt::CheckState s = chkGrade->isChecked() ? Qt::Checked : Qt::Unchecked;
    for (int i = 0; i < CLbSCd->count(); ++i)
        CLbSCd->item(i)->setCheckState(s);
}

void RoundSelectionPages::BBtnGrpAddClick() {
    if (!LbGrp->currentItem() || !LbItem->currentItem()) return;
    const QString grp = LbGrp->currentItem()->text();
    const QString item = LbItem->currentItem()->text();
    const QString line = Rounds::groupItemLine(grp, item);
    for (int i = 0; i < LbGrpSelect->count(); ++i)
        if (LbGrpSelect->item(i)->text().startsWith(line)) return;
    auto* it = new QListWidgetItem(line, LbGrpSelect);
    it->setData(GroupRole, grp);
    it->setData(ItemRole, item);
}

void RoundSelectionPages::BBtnGrpDelClick() {
    delete LbGrpSelect->currentItem();
}

QStringList RoundSelectionPages::checkedGrades() const {
    QStringList out;
    for (const QString& t : checkedTexts(CLbSCd))
        out << t.left(1);
    return out;
}

QStringList RoundSelectionPages::checkedItemIds() const {
    QStringList out;
    for (int i = 0; i < CLbItem->count() && i < CboItemT.size(); ++i)
        if (CLbItem->item(i)->checkState() == Qt::Checked) out << CboItemT[i];
    return out;
}

QStringList RoundSelectionPages::checkedItemLines() const {
    return checkedTexts(CLbItem);
}

QList<GroupItem> RoundSelectionPages::chosenGroups() const {
    QList<GroupItem> out;
    for (int i = 0; i < LbGrpSelect->count(); ++i) {
        const QListWidgetItem* it = LbGrpSelect->item(i);
        const QString item = it->data(ItemRole).toString();
        out << GroupItem{it->data(GroupRole).toString(), item.section(QLatin1Char('.'), 0, 0), item};
    }
    return out;
}

void limitCp949(QLineEdit* edit, int bytes) {
    auto last = std::make_shared<QString>(edit->text());
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, bytes, last](const QString& t) {
        if (Cp949::canEncode(t) && Cp949::byteLength(t) <= bytes) {
            *last = t;
            return;
        }
        edit->setText(*last);
    });
}
